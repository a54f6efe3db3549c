#include "engine/new_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Stem(const char* part1, const char* part2, int separator, int digits, int serial) {
  char prefix[kNamePrefixSize];
  EXPECT_TRUE(ComposeNamePrefix(prefix, part1, part2, separator, digits));
  char stem[kNewNameStemSize];
  EXPECT_TRUE(ComposeNewNameStem(stem, prefix, serial, digits));
  return stem;
}

// Stems of `count` files from `start` by `step`, as long as the serial fits.
std::vector<std::string> Stems(const char* part1, const char* part2, int separator, int digits,
                             int start, int step, int count) {
  std::vector<std::string> stems;
  int serial = start;
  for (int i = 0; i < count && serial <= MaxSerial(digits); ++i, serial += step)
    stems.push_back(Stem(part1, part2, separator, digits, serial));
  return stems;
}

TEST(NewName, SeparatorKindsOutsideTheThreeReadAsUnderscore) {
  EXPECT_STREQ(SeparatorText(0), "_");
  EXPECT_STREQ(SeparatorText(1), "-");
  EXPECT_STREQ(SeparatorText(2), "");
  EXPECT_STREQ(SeparatorText(3), "_");
  EXPECT_STREQ(SeparatorText(-1), "_");
}

TEST(NewName, TheWorkedExamplesOfTheHelpDialog) {
  std::vector<std::string> a = Stems("2011", "0502", 0, 3, 1, 1, 21);
  ASSERT_EQ(a.size(), 21u);
  EXPECT_EQ(a.front(), "2011_0502_001");
  EXPECT_EQ(a[1], "2011_0502_002");
  EXPECT_EQ(a.back(), "2011_0502_021");

  std::vector<std::string> b = Stems("Hawaii", "", 0, 4, 1, 1, 31);
  ASSERT_EQ(b.size(), 31u);
  EXPECT_EQ(b.front(), "Hawaii_0001");
  EXPECT_EQ(b.back(), "Hawaii_0031");

  std::vector<std::string> c = Stems("富士山", "", 2, 4, 101, 1, 120);
  ASSERT_EQ(c.size(), 120u);
  EXPECT_EQ(c.front(), "富士山0101");
  EXPECT_EQ(c.back(), "富士山0220");
}

TEST(NewName, FurtherCasesOfTheRule) {
  std::vector<std::string> sapporo = Stems("", "札幌", 1, 2, 10, 10, 10);
  ASSERT_EQ(sapporo.size(), 9u);  // a tenth file would need 100
  EXPECT_EQ(sapporo.front(), "札幌-10");
  EXPECT_EQ(sapporo[1], "札幌-20");
  EXPECT_EQ(sapporo.back(), "札幌-90");

  const struct {
    const char* part1;
    const char* part2;
    int separator;
    int digits;
    int serial;
    const char* stem;
  } cases[] = {
      {"2011", "0502", 0, 0, 0, "2011_0502"},
      {"", "", 0, 3, 1, "001"},
      {"", "", 1, 3, 2, "002"},
      {"", "", 2, 3, 3, "003"},
      {"函館", "", 0, 0, 0, "函館"},
      {"2011", "0502", 3, 3, 1, "2011_0502_001"},
      {"2011", "0502", 99, 3, 1, "2011_0502_001"},
      {"2011", "0502", 2, 3, 1, "20110502001"},
      {"2011", "0502", 1, 3, 1, "2011-0502-001"},
      {"", "0502", 0, 0, 0, "0502"},
      {"ソ表", "", 0, 3, 0, "ソ表_000"},
      {"abc", "", 2, 9, 7, "abc000000007"},
      {"abc", "", 0, 9, 999999999, "abc_999999999"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Stem(c.part1, c.part2, c.separator, c.digits, c.serial), c.stem)
        << c.part1 << "/" << c.part2 << " " << c.separator << " " << c.digits;
}

TEST(NewName, SeparatorsNeverLeadTrailOrDouble) {
  const char* parts[] = {"", "ab"};
  for (const char* p1 : parts)
    for (const char* p2 : parts)
      for (int separator = 0; separator <= 3; ++separator)
        for (int digits = 0; digits <= 3; ++digits) {
          if (p1[0] == '\0' && p2[0] == '\0' && digits == 0) continue;
          std::string stem = Stem(p1, p2, separator, digits, 5);
          std::string sep = SeparatorText(separator);
          if (sep.empty()) continue;
          SCOPED_TRACE(stem);
          EXPECT_NE(stem.substr(0, 1), sep);
          EXPECT_NE(stem.substr(stem.size() - 1), sep);
          EXPECT_EQ(stem.find(sep + sep), std::string::npos);
          int pieces = (p1[0] != '\0') + (p2[0] != '\0') + (digits > 0);
          size_t separators = 0;
          for (char ch : stem) separators += (ch == sep[0]);
          EXPECT_EQ(separators, static_cast<size_t>(pieces - 1));
        }
}

TEST(NewName, SerialsAreZeroPaddedAndMaxSerialIsAllNines) {
  const struct {
    int digits;
    int max;
  } limits[] = {{-1, 0}, {0, 0}, {1, 9}, {2, 99}, {3, 999}, {9, 999999999}, {10, 999999999}};
  for (const auto& l : limits) EXPECT_EQ(MaxSerial(l.digits), l.max) << l.digits;

  const struct {
    int serial;
    int digits;
    const char* text;
  } serials[] = {{0, 3, "000"},       {1, 3, "001"},         {999, 3, "999"},
                 {1, 9, "000000001"}, {0, 0, ""},            {5, -2, ""},
                 {12, 1, "12"},       {1, 12, "000000001"}};
  for (const auto& s : serials) {
    char text[kSerialTextSize];
    FormatSerial(text, s.serial, s.digits);
    EXPECT_STREQ(text, s.text) << s.serial << " " << s.digits;
  }
}

TEST(NewName, LongestPartsStillFit) {
  std::string part(39, 'x');
  char prefix[kNamePrefixSize];
  EXPECT_TRUE(ComposeNamePrefix(prefix, part.c_str(), part.c_str(), 0, 9));
  char stem[kNewNameStemSize];
  EXPECT_TRUE(ComposeNewNameStem(stem, prefix, 999999999, 9));
  EXPECT_EQ(std::string(stem), part + "_" + part + "_999999999");
}

}  // namespace
