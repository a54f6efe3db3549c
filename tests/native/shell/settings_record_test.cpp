#include "shell/settings_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

int32_t IntAt(const RenameSettings& s, size_t offset) {
  int32_t v;
  memcpy(&v, reinterpret_cast<const unsigned char*>(&s) + offset, 4);
  return v;
}

const char* TextAt(const RenameSettings& s, size_t offset) {
  return reinterpret_cast<const char*>(&s) + offset;
}

TEST(SettingsRecord, DefaultsSitAtTheirOffsetsWithSpacesBehindStrings) {
  RenameSettings s;
  memset(&s, 0, sizeof s);
  MakeDefaultSettings(s);
  EXPECT_EQ(IntAt(s, 0), 110);
  EXPECT_STREQ(TextAt(s, 4), "");
  EXPECT_STREQ(TextAt(s, 388), ".jpg");
  EXPECT_STREQ(TextAt(s, 404), "PICT");
  EXPECT_EQ(IntAt(s, 484), 4);
  EXPECT_EQ(IntAt(s, 488), 0);
  EXPECT_EQ(IntAt(s, 492), 0);
  EXPECT_STREQ(TextAt(s, 496), "");
  EXPECT_STREQ(TextAt(s, 536), "");
  EXPECT_EQ(IntAt(s, 576), 3);
  EXPECT_EQ(IntAt(s, 580), 1);
  EXPECT_EQ(IntAt(s, 584), 1);
  EXPECT_EQ(IntAt(s, 588), 0);
  EXPECT_EQ(IntAt(s, 592), 1);
  EXPECT_EQ(IntAt(s, 596), 0);
  EXPECT_STREQ(TextAt(s, 600), "北海道旅行");
  EXPECT_STREQ(TextAt(s, 640), "ヨーロッパ旅行");
  EXPECT_STREQ(TextAt(s, 1000), "札幌");
  EXPECT_STREQ(TextAt(s, 1040), "函館");
  for (int slot = 2; slot < 10; ++slot) {
    EXPECT_EQ(TextAt(s, 600 + 40 * slot)[0], '\0') << slot;
    EXPECT_EQ(TextAt(s, 1000 + 40 * slot)[0], '\0') << slot;
    EXPECT_EQ(TextAt(s, 600 + 40 * slot)[1], ' ') << slot;
  }
  EXPECT_EQ(TextAt(s, 1400)[0], '1');
  for (int i = 1401; i < 1440; ++i) EXPECT_EQ(TextAt(s, i)[0], ' ') << i;
  EXPECT_EQ(IntAt(s, 1440), 200);
  EXPECT_EQ(IntAt(s, 1444), 100);
  EXPECT_EQ(IntAt(s, 1448), 584);
  EXPECT_EQ(IntAt(s, 1452), 500);
  // Behind every string's NUL the record keeps the spaces it was filled with.
  EXPECT_EQ(TextAt(s, 5)[0], ' ');
  EXPECT_EQ(TextAt(s, 383 + 4)[0], ' ');
  EXPECT_EQ(TextAt(s, 388 + 5)[0], ' ');
  EXPECT_EQ(TextAt(s, 404 + 5)[0], ' ');
  EXPECT_EQ(TextAt(s, 496 + 1)[0], ' ');
  EXPECT_EQ(TextAt(s, 600 + 11)[0], ' ');
}

TEST(SettingsRecord, ShowConfirmationNormalisesEverythingButZeroToOne) {
  const struct {
    char stored;
    char loaded;
  } cases[] = {{'0', '0'}, {'1', '1'}, {' ', '1'}, {'\0', '1'}, {'2', '1'}, {'\xff', '1'}};
  for (const auto& c : cases) {
    RenameSettings s;
    MakeDefaultSettings(s);
    s.ShowConfirmation = c.stored;
    NormaliseShowConfirmation(s);
    EXPECT_EQ(s.ShowConfirmation, c.loaded) << int(c.stored);
  }
}

TEST(SettingsRecord, ShortImageCountsAsMissingAndLongImageGivesItsHead) {
  RenameSettings s;
  MakeDefaultSettings(s);
  std::vector<unsigned char> image(kSettingsFileSize - 1, 'A');
  EXPECT_FALSE(AcceptSettingsImage(s, image.data(), image.size()));
  EXPECT_EQ(s.FormatVersion, 110);  // untouched

  RenameSettings source;
  MakeDefaultSettings(source);
  source.FormatVersion = 77;  // loads like any other
  source.WindowLeft = 31;
  image.assign(reinterpret_cast<unsigned char*>(&source),
               reinterpret_cast<unsigned char*>(&source) + sizeof source);
  image.insert(image.end(), 100, 0xEE);
  ASSERT_TRUE(AcceptSettingsImage(s, image.data(), image.size()));
  EXPECT_EQ(memcmp(&s, &source, sizeof s), 0);
  EXPECT_EQ(s.FormatVersion, 77);
}

TEST(SettingsRecord, ImageKeepsBytesAfterNulAndCutsFieldsWithoutNul) {
  RenameSettings source;
  MakeDefaultSettings(source);
  // An earlier, longer value left bytes behind the NUL: they survive.
  memcpy(source.NamePart1, "2011\0OLDVALUE", 13);
  // A damaged field without any NUL is cut at its width.
  memset(source.SourceCommonPart, 'Z', sizeof source.SourceCommonPart);
  memset(source.Part2History[9], 'Q', kHistoryWidth);
  RenameSettings s;
  ASSERT_TRUE(AcceptSettingsImage(s, reinterpret_cast<unsigned char*>(&source), sizeof source));
  EXPECT_EQ(memcmp(s.NamePart1, "2011\0OLDVALUE", 13), 0);
  EXPECT_EQ(strlen(s.SourceCommonPart), sizeof s.SourceCommonPart - 1);
  EXPECT_EQ(strlen(s.Part2History[9]), size_t(kHistoryWidth - 1));
  EXPECT_EQ(s.ShowConfirmation, '1');  // the field after it is untouched
}

TEST(SettingsRecord, DefaultSizeFitsTheFrameMetrics) {
  RenameSettings s;
  MakeDefaultSettings(s);
  // 4-pixel frames and an 18-pixel caption button leave 584 x (500 + bar).
  FitDefaultWindowSize(s, 4, 4, 18, 22);
  EXPECT_EQ(s.WindowWidth, 584);
  EXPECT_EQ(s.WindowHeight, 522);
  MakeDefaultSettings(s);
  FitDefaultWindowSize(s, 8, 8, 22, 20);
  EXPECT_EQ(s.WindowWidth, 584 + 8);
  EXPECT_EQ(s.WindowHeight, 500 + 20 + 22 + 16 - 26);
}

TEST(SettingsRecord, SettingsPathIsRefusedWhenTheFolderIsTooLong) {
  char path[256];
  ASSERT_TRUE(ComposeSettingsPath(path, "C:\\写真\\表"));
  EXPECT_STREQ(path, "C:\\写真\\表\\Tessel.ini");
  std::string folder(255 - 11, 'a');  // exactly fills 255 bytes with "\Tessel.ini"
  ASSERT_TRUE(ComposeSettingsPath(path, folder.c_str()));
  EXPECT_EQ(strlen(path), 255u);
  folder += "b";
  EXPECT_FALSE(ComposeSettingsPath(path, folder.c_str()));
  EXPECT_STREQ(path, "");
  // A module path that failed or was cut leaves no folder: not the root.
  EXPECT_FALSE(ComposeSettingsPath(path, ""));
  EXPECT_STREQ(path, "");
}

}  // namespace
