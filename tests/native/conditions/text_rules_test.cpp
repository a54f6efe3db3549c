#include "conditions/text_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// 表 is 95 5C and ソ is 83 5C: their second byte is a backslash.
const std::string kHyo = "表";
const std::string kSo = "ソ";

TEST(TextRules, TheSourcesReallyHoldShiftJisBytes) {
  ASSERT_EQ(kHyo, "\x95\x5C");
  ASSERT_EQ(kSo, "\x83\x5C");
}

struct RunCase {
  const char* text;
  int count;
  int value;
};

TEST(TextRules, TrailingDigitRunTakesOnlyTheRunThatEndsTheText) {
  const RunCase cases[] = {
      {"PICT0100", 4, 100},
      {"DSC02200", 5, 2200},
      {"P5231201", 7, 5231201},
      {"IMG_A", 0, 0},
      {"PICT0001a", 0, 0},
      {"写真0001", 4, 1},
      {"0001", 4, 1},
      {"", 0, 0},
      {"PICT0001写", 0, 0},        // a double-byte character right after digits
      {"PICT0001表", 0, 0},        // ... whose second byte is a backslash
      {"ソ0001", 4, 1},            // ... or in front of the digits
      {"A\x81" "23", 1, 3},        // 81 32 is one character, so only 3 is a digit
      {"AB12\x81", 0, 0},          // a lead byte alone at the end
      {"123456789", 9, 123456789},
      {"A1 2", 1, 2},
  };
  for (const RunCase& c : cases) {
    DigitRun run = TrailingDigitRun(c.text);
    EXPECT_EQ(run.Count, c.count) << c.text;
    EXPECT_EQ(run.Value, c.value) << c.text;
  }
  EXPECT_EQ(TrailingDigitRun("A1234567890").Count, 10);
}

TEST(TextRules, IsAllDigitsAcceptsOnlyAsciiDigits) {
  const struct {
    const char* text;
    int result;
  } cases[] = {{"", 0}, {"12a", -1}, {"0100", 4}, {"１２", -1}, {" 1", -1}, {"-1", -1},
               {"+1", -1}, {"1\x81", -1}};
  for (const auto& c : cases) EXPECT_EQ(IsAllDigits(c.text), c.result) << c.text;
}

TEST(TextRules, FitsInDigitsComparesWithTheLargestNumberOfThatWidth) {
  const struct {
    int digits;
    int value;
    bool fits;
  } cases[] = {{3, 999, true},       {3, 1000, false},       {0, 0, true},
               {0, 1, false},        {1, 9, true},           {1, 10, false},
               {9, 999999999, true}, {9, 1000000000, false}, {9, INT_MAX, false},
               {10, INT_MAX, true}};
  for (const auto& c : cases) EXPECT_EQ(FitsInDigits(c.digits, c.value), c.fits) << c.digits << " " << c.value;
}

struct PathCase {
  std::string path;
  std::string folder;
  std::string base;
  std::string extension;
};

TEST(TextRules, PathPiecesStepOverDoubleByteCharacters) {
  const PathCase cases[] = {
      {"D:\\photo\\PICT0100.jpg", "D:\\photo", "PICT0100", "jpg"},
      {"D:\\PICT0100.jpg", "D:", "PICT0100", "jpg"},  // a drive root
      {"C:\\" + kHyo + "\\" + kSo + "0001.jpg", "C:\\" + kHyo, kSo + "0001", "jpg"},
      {"C:\\" + kSo + kHyo + "\\a.JPG", "C:\\" + kSo + kHyo, "a", "JPG"},
      {"C:\\写真\\" + kHyo, "C:\\写真", kHyo, ""},   // a name ending in 表
      {"C:\\a.b\\PICT0100", "C:\\a.b", "PICT0100", ""},  // the full stop is the folder's
      {"C:\\x\\PIC.0001.jpg", "C:\\x", "PIC.0001", "jpg"},
      {"C:\\x\\PICT0100.jp g", "C:\\x", "PICT0100", "jp"},
      {"C:\\x\\.jpg", "C:\\x", "", "jpg"},
      {"PICT0100.jpg", "", "", "jpg"},
  };
  for (const PathCase& c : cases) {
    char folder[384], base[384], extension[384];
    EXPECT_TRUE(PathFolder(folder, c.path.c_str()));
    EXPECT_TRUE(PathBaseName(base, c.path.c_str()));
    EXPECT_TRUE(PathExtension(extension, c.path.c_str()));
    EXPECT_EQ(folder, c.folder) << c.path;
    EXPECT_EQ(base, c.base) << c.path;
    EXPECT_EQ(extension, c.extension) << c.path;
  }
}

TEST(TextRules, PathPiecesThatDoNotFitAreCutOnCharacterBoundaries) {
  char folder[6];
  std::string path = "C:\\" + kHyo + kHyo + "\\x.jpg";  // folder C:\表表 is 7 bytes
  EXPECT_FALSE(PathFolder(folder, path.c_str()));
  EXPECT_EQ(std::string(folder), "C:\\" + kHyo);
}

TEST(TextRules, StripTrailingBackslashRemovesOneSingleByteBackslash) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {{"C:\\photo\\", "C:\\photo"},
               {"C:\\photo\\\\", "C:\\photo\\"},
               {"C:\\" + kHyo, "C:\\" + kHyo},
               {"C:\\" + kSo, "C:\\" + kSo},
               {"C:\\" + kSo + "\\", "C:\\" + kSo},
               {"D:\\", "D:"},
               {"\\", ""},
               {"", ""}};
  for (const auto& c : cases) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%s", c.in.c_str());
    StripTrailingBackslash(buffer);
    EXPECT_EQ(std::string(buffer), c.out) << c.in;
  }
}

struct MemberCase {
  const char* name;
  const char* common;
  int digits;
  const char* extension;
  bool member;
  int number;
};

TEST(TextRules, SourceNameRuleTestsLengthAndTheDigitsBeforeTheFirstFullStop) {
  const MemberCase cases[] = {
      {"PICT0100.jpg", "PICT", 4, ".jpg", true, 100},
      {"pict0100.JPG", "PICT", 4, ".jpg", true, 100},
      {"PICT0100 copy.jpg", "PICT", 4, ".jpg", false, 0},
      {"PICT01.jpg", "PICT", 4, ".jpg", false, 0},
      {"PICT0110.jpeg", "PICT", 4, ".jpg", false, 0},
      {"PICT00100.jpg", "PICT", 4, ".jpg", false, 0},
      {"PICTA100.jpg", "PICT", 4, ".jpg", false, 0},
      {"IMG_A.jpg", "IMG_A", 0, ".jpg", true, 0},
      {"IMG_1.jpg", "IMG_A", 0, ".jpg", false, 0},
      {"PIC.0001.jpg", "PIC.", 4, ".jpg", false, 0},  // a full stop in the common part
      {"PICT0002", "PICT", 4, ".", false, 0},          // chosen name had no full stop
      {"写真0001.jpg", "写真", 4, ".jpg", true, 1},
      {"表0001.jpg", "表", 4, ".jpg", true, 1},
      {"0001.jpg", "", 4, ".jpg", true, 1},
      {"P123456789.jpg", "P", 9, ".jpg", true, 123456789},
      {"P1234567890.jpg", "P", 10, ".jpg", false, 0},  // no count above 9 matches
  };
  for (const MemberCase& c : cases) {
    int number = -1;
    bool member = SourceNameMatches(c.name, strlen(c.common), c.digits, strlen(c.extension), &number);
    EXPECT_EQ(member, c.member) << c.name;
    if (c.member) {
      EXPECT_EQ(number, c.number) << c.name;
    }
  }
}

TEST(TextRules, TheFileOfNumberNIsRebuiltFromTheRun) {
  char name[32];
  EXPECT_TRUE(SourceFileName(name, "PICT", 4, 100, ".jpg"));
  EXPECT_STREQ(name, "PICT0100.jpg");
  EXPECT_TRUE(SourceFileName(name, "IMG_A", 0, 0, ".jpg"));
  EXPECT_STREQ(name, "IMG_A.jpg");
  EXPECT_TRUE(SourceFileName(name, "", 4, 1, ".jpg"));
  EXPECT_STREQ(name, "0001.jpg");
  EXPECT_TRUE(SourceFileName(name, "P", 9, 5, ".JPG"));
  EXPECT_STREQ(name, "P000000005.JPG");
  EXPECT_FALSE(SourceFileName(name, "P", 10, 5, ".jpg"));
  EXPECT_STREQ(name, "");
  char small[8];
  EXPECT_FALSE(SourceFileName(small, "PICT", 4, 100, ".jpg"));
}

TEST(TextRules, CaseIsIgnoredForAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase(".JPG", ".jpg"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase(".jPg", ".JpG"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(".jpeg", ".jpg"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(".jp", ".jpg"));
  // 83 41 and 83 61 are different characters although 41/61 look like A/a.
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase("写真.JPG", "写真.jpg"));
}

TEST(TextRules, AHalfCharacterLeftByACutIsDropped) {
  char a[] = "abc\x95";
  EXPECT_EQ(DropHalfCharacter(a), 3u);
  EXPECT_STREQ(a, "abc");
  std::string whole = "ab" + kHyo;
  char b[8];
  snprintf(b, sizeof b, "%s", whole.c_str());
  EXPECT_EQ(DropHalfCharacter(b), 4u);
  EXPECT_EQ(std::string(b), whole);
  char c[] = "\x95";
  EXPECT_EQ(DropHalfCharacter(c), 0u);
}

}  // namespace
