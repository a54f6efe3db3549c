#include "conditions/source_choice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kDigitsRefusal[] = "元ファイル名の連番部が９桁を超えるため処理できません。";
const char kCommonPartRefusal[] = "元ファイルの共通部名が４２文字を超えるため処理できません。";
const char kExtensionRefusal[] = "元ファイルの拡張子が１４文字を超えるため処理できません。";
const char kNameRefusal[] =
    "フォルダ名かファイル名に、Tessel で扱えない文字が含まれているため処理できません。\n"
    "（フォルダ名やファイル名を変更すれば選択できます。）";
const char kPathRefusal[] =
    "フォルダとファイル名を合わせた長さが、Windows で扱える長さを超えるため処理できません。\n"
    "（フォルダ名やファイル名を短くすれば選択できます。）";

struct AcceptedCase {
  std::string path;
  std::string folder;
  std::string common;
  int digits;
  std::string extension;
  int start;
  bool photo;
};

TEST(SourceChoice, AcceptedChoicesDescribeTheRun) {
  const AcceptedCase cases[] = {
      {"D:\\photo\\PICT0105.jpg", "D:\\photo", "PICT", 4, ".jpg", 105, true},
      {"D:\\photo\\DSC02200.JPG", "D:\\photo", "DSC", 5, ".JPG", 2200, true},
      {"D:\\photo\\P5231201.jpg", "D:\\photo", "P", 7, ".jpg", 5231201, true},
      {"D:\\photo\\IMG_A.jpg", "D:\\photo", "IMG_A", 0, ".jpg", 0, true},
      {"D:\\photo\\PICT0001a.jpg", "D:\\photo", "PICT0001a", 0, ".jpg", 0, true},
      {"D:\\photo\\PICT0001写.jpg", "D:\\photo", "PICT0001写", 0, ".jpg", 0, true},
      {"D:\\photo\\写真0001.jpg", "D:\\photo", "写真", 4, ".jpg", 1, true},
      {"D:\\photo\\0001.jpg", "D:\\photo", "", 4, ".jpg", 1, true},
      {"D:\\PICT0001.jpg", "D:", "PICT", 4, ".jpg", 1, true},
      {"C:\\表\\ソ0003.jpeg", "C:\\表", "ソ", 4, ".jpeg", 3, false},
      {"C:\\x\\PIC.0001.jpg", "C:\\x", "PIC.", 4, ".jpg", 1, true},
      {"C:\\x\\PICT0001", "C:\\x", "PICT", 4, ".", 1, false},  // no full stop
      {"C:\\x\\A123456789.Jpg", "C:\\x", "A", 9, ".Jpg", 123456789, true},
      {"C:\\x\\PICT0001.abcdefghijklmn", "C:\\x", "PICT", 4, ".abcdefghijklmn", 1, false},
  };
  for (const AcceptedCase& c : cases) {
    SourceChoice choice;
    AnalyseSourceChoice(choice, c.path.c_str());
    EXPECT_EQ(choice.Refusal, kSourceAccepted) << c.path;
    EXPECT_EQ(choice.RefusalText, nullptr) << c.path;
    EXPECT_EQ(choice.Folder, c.folder) << c.path;
    EXPECT_EQ(choice.CommonPart, c.common) << c.path;
    EXPECT_EQ(choice.Digits, c.digits) << c.path;
    EXPECT_EQ(choice.Extension, c.extension) << c.path;
    EXPECT_EQ(choice.StartNumber, c.start) << c.path;
    EXPECT_EQ(choice.IsPhoto, c.photo) << c.path;
    size_t name = c.path.size() - c.folder.size() - 1;
    // The expected length counts the lone full stop of a name without one.
    EXPECT_EQ(choice.ExpectedLength, static_cast<int>(c.extension == "." ? name + 1 : name))
        << c.path;
  }
}

TEST(SourceChoice, NineDigitsAreAcceptedAndTenRefused) {
  SourceChoice choice;
  AnalyseSourceChoice(choice, "C:\\x\\A1234567890.jpg");
  EXPECT_EQ(choice.Refusal, kSourceTooManyDigits);
  EXPECT_STREQ(choice.RefusalText, kDigitsRefusal);
}

TEST(SourceChoice, ACommonPartOf42BytesIsAcceptedAnd43Refused) {
  std::string twentyOne;
  for (int i = 0; i < 21; ++i) twentyOne += "表";  // 42 bytes
  SourceChoice choice;
  AnalyseSourceChoice(choice, ("C:\\x\\" + twentyOne + "0007.jpg").c_str());
  EXPECT_EQ(choice.Refusal, kSourceAccepted);
  EXPECT_EQ(choice.CommonPart, twentyOne);
  EXPECT_EQ(choice.Digits, 4);

  AnalyseSourceChoice(choice, ("C:\\x\\" + twentyOne + "b0007.jpg").c_str());
  EXPECT_EQ(choice.Refusal, kSourceCommonPartTooLong);
  EXPECT_STREQ(choice.RefusalText, kCommonPartRefusal);

  std::string fortyTwo(42, 'a');
  AnalyseSourceChoice(choice, ("C:\\x\\" + fortyTwo + ".jpg").c_str());
  EXPECT_EQ(choice.Refusal, kSourceAccepted);
  AnalyseSourceChoice(choice, ("C:\\x\\" + fortyTwo + "a.jpg").c_str());
  EXPECT_EQ(choice.Refusal, kSourceCommonPartTooLong);
}

TEST(SourceChoice, AnExtensionOfMoreThanFourteenBytesIsRefusedBeforeAnythingShows) {
  SourceChoice choice;
  AnalyseSourceChoice(choice, "C:\\x\\PICT0001.abcdefghijklmno");
  EXPECT_EQ(choice.Refusal, kSourceExtensionTooLong);
  EXPECT_STREQ(choice.RefusalText, kExtensionRefusal);
  EXPECT_STREQ(kSourceRefusalCaption, "条件設定");
}

// A name without an exact ANSI form, and paths against MAX_PATH: characters
// on Windows NT and later, bytes on Windows 95, 98 and Me.
TEST(SourceChoice, NamesTheCodePageCannotHoldAndPathsThatReachMaxPathAreRefused) {
  SourceChoice choice;
  RefuseUnheldSourceName(choice, false);
  EXPECT_STREQ(choice.RefusalText, kNameRefusal);
  std::string kanji;
  for (int i = 0; i < 130; ++i) kanji += "写";  // 260 bytes, 130 characters
  AnalyseSourceChoice(choice, ("C:\\" + std::string(248, 'a') + "\\P01.jpg").c_str(), true);
  EXPECT_EQ(choice.Refusal, kSourceAccepted);  // 259 characters
  AnalyseSourceChoice(choice, ("C:\\" + kanji + "\\P01.jpg").c_str(), true);
  EXPECT_EQ(choice.Refusal, kSourceAccepted);
  AnalyseSourceChoice(choice, ("C:\\" + kanji + "\\P01.jpg").c_str(), false);
  EXPECT_STREQ(choice.RefusalText, kPathRefusal);
  AnalyseSourceChoice(choice, ("C:\\" + std::string(249, 'a') + "\\P01.jpg").c_str(), true);
  EXPECT_STREQ(choice.RefusalText, kPathRefusal);  // 260 characters
}

TEST(SourceChoice, TheScanPatternHasOneBackslashAndAFullStop) {
  const struct {
    const char* folder;
    const char* common;
    const char* extension;
    const char* pattern;
  } cases[] = {
      {"D:\\photo", "PICT", ".jpg", "D:\\photo\\PICT*.jpg"},
      {"D:", "PICT", ".jpg", "D:\\PICT*.jpg"},
      {"D:\\photo", "PICT", "jpg", "D:\\photo\\PICT*.jpg"},
      {"D:\\photo", "", ".jpg", "D:\\photo\\*.jpg"},
      {"C:\\表", "ソ", ".JPG", "C:\\表\\ソ*.JPG"},
  };
  for (const auto& c : cases) {
    char pattern[kScanPatternSize];
    EXPECT_TRUE(ComposeScanPattern(pattern, c.folder, c.common, c.extension));
    EXPECT_STREQ(pattern, c.pattern);
  }
  char tiny[8];
  EXPECT_FALSE(ComposeScanPattern(tiny, "D:\\photo", "PICT", ".jpg"));
  EXPECT_STREQ(tiny, "");
}

TEST(SourceChoice, OnlyEntriesOfTheRunMoveTheRange) {
  SourceChoice choice;
  AnalyseSourceChoice(choice, "D:\\photo\\PICT0105.jpg");
  SourceRange range = StartSourceRange(choice.StartNumber);
  const struct {
    const char* name;
    bool counts;
  } entries[] = {
      {"PICT0105.jpg", true},  {"PICT0100.jpg", true},    {"PICT0120.jpg", true},
      {"PICT01.jpg", false},   {"PICT0110.jpeg", false},  {"PICT00099.jpg", false},
      {"PICT0007.JPG", true},  {"PICT0050 copy.jpg", false}, {"PICTabcd.jpg", false},
  };
  for (const auto& e : entries)
    EXPECT_EQ(CountScanEntry(range, e.name, choice.ExpectedLength, choice.Digits), e.counts)
        << e.name;
  EXPECT_EQ(range.Lowest, 7);
  EXPECT_EQ(range.Highest, 120);
}

TEST(SourceChoice, AFullStopInsideTheCommonPartKeepsTheRangeAtTheChosenNumber) {
  SourceChoice choice;
  AnalyseSourceChoice(choice, "C:\\x\\PIC.0004.jpg");
  SourceRange range = StartSourceRange(choice.StartNumber);
  EXPECT_FALSE(CountScanEntry(range, "PIC.0001.jpg", choice.ExpectedLength, choice.Digits));
  EXPECT_FALSE(CountScanEntry(range, "PIC.0009.jpg", choice.ExpectedLength, choice.Digits));
  EXPECT_EQ(range.Lowest, 4);
  EXPECT_EQ(range.Highest, 4);
}

TEST(SourceChoice, RangeHintsShowTheNumbers) {
  char low[kRangeHintSize], high[kRangeHintSize];
  FormatLowestHint(low, 100);
  FormatHighestHint(high, 120);
  EXPECT_STREQ(low, "（最小番号：100）");
  EXPECT_STREQ(high, "（最大番号：120）");
}

}  // namespace
