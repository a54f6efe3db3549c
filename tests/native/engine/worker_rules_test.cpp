#include "engine/worker_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/new_name.h"
#include "common/bounded_text.h"

namespace {

RenameSettings PictSettings() {
  RenameSettings s;
  MakeDefaultSettings(s);
  snprintf(s.SourceFolder, sizeof s.SourceFolder, "%s", "D:\\photo");
  snprintf(s.SourceCommonPart, sizeof s.SourceCommonPart, "%s", "PICT");
  snprintf(s.SourceExtension, sizeof s.SourceExtension, "%s", ".jpg");
  s.SourceDigits = 4;
  s.SourceFirst = 100;
  s.SourceLast = 120;
  snprintf(s.NamePart1, sizeof s.NamePart1, "%s", "2011");
  snprintf(s.NamePart2, sizeof s.NamePart2, "%s", "0502");
  s.SerialDigits = 3;
  s.SerialStart = 1;
  s.SerialStep = 1;
  s.SeparatorKind = 0;
  return s;
}

// True when a walk over whole characters ends exactly at the NUL.
bool EndsOnCharacterBoundary(const char* text) {
  size_t i = 0;
  while (text[i] != '\0') {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      if (text[i + 1] == '\0') return false;
      i += 2;
    } else {
      i += 1;
    }
  }
  return true;
}

TEST(WorkerRules, TheJobIsTakenFromTheRecordAndEveryTextEndsInItsField) {
  RenameSettings s = PictSettings();
  RenameJob job;
  TakeRenameJob(job, s);
  EXPECT_STREQ(job.SourceFolder, "D:\\photo");
  EXPECT_STREQ(job.SourceCommonPart, "PICT");
  EXPECT_EQ(job.SourceFirst, 100);
  EXPECT_EQ(job.SerialDigits, 3);

  // A damaged record whose fields lack their NUL is read up to the field's
  // width, and a double-byte character cut at the edge is dropped.
  std::memset(s.SourceExtension, 'e', sizeof s.SourceExtension);
  std::memset(s.NamePart1, 0x95, sizeof s.NamePart1);
  TakeRenameJob(job, s);
  EXPECT_EQ(std::strlen(job.SourceExtension), 15u);
  EXPECT_EQ(std::strlen(job.NamePart1), 38u);
  EXPECT_TRUE(EndsOnCharacterBoundary(job.NamePart1));
}

TEST(WorkerRules, TheSearchPatternJoinsFolderCommonPartStarAndExtension) {
  RenameSettings s = PictSettings();
  RenameJob job;
  TakeRenameJob(job, s);
  char pattern[kWorkerPathSize];
  EXPECT_TRUE(ComposeSourcePattern(pattern, job));
  EXPECT_STREQ(pattern, "D:\\photo\\PICT*.jpg");
  snprintf(job.SourceFolder, sizeof job.SourceFolder, "%s", "D:");
  EXPECT_TRUE(ComposeSourcePattern(pattern, job));
  EXPECT_STREQ(pattern, "D:\\PICT*.jpg");
}

TEST(WorkerRules, OnlyNamesOfTheRunInsideTheRangeAreTaken) {
  RenameSettings s = PictSettings();
  RenameJob job;
  TakeRenameJob(job, s);
  const struct {
    const char* name;
    bool taken;
    int number;
  } cases[] = {
      {"PICT0099.jpg", false, 0},     {"PICT0100.jpg", true, 100}, {"PICT0120.jpg", true, 120},
      {"PICT0121.jpg", false, 0},     {"pict0105.JPG", true, 105}, {"PICT0100 copy.jpg", false, 0},
      {"PICT00100.jpg", false, 0},    {"PICT0110.jpeg", false, 0},
  };
  for (const auto& c : cases) {
    int number = -1;
    EXPECT_EQ(TakesSourceName(job, c.name, &number), c.taken) << c.name;
    if (c.taken) {
      EXPECT_EQ(number, c.number) << c.name;
    }
  }
}

TEST(WorkerRules, OldNamesAreRebuiltAndNewNamesKeepTheStoredExtension) {
  RenameSettings s = PictSettings();
  RenameJob job;
  TakeRenameJob(job, s);
  char name[kWorkerNameSize];
  EXPECT_TRUE(ComposeOldName(name, job, 100));
  EXPECT_STREQ(name, "PICT0100.jpg");  // also for a file listed as pict0100.JPG
  char prefix[kNamePrefixSize];
  ComposeNamePrefix(prefix, job.NamePart1, job.NamePart2, job.SeparatorKind, job.SerialDigits);
  EXPECT_TRUE(ComposeNewName(name, prefix, 1, job));
  EXPECT_STREQ(name, "2011_0502_001.jpg");
  char path[kWorkerPathSize];
  EXPECT_TRUE(ComposeFilePath(path, job.SourceFolder, name));
  EXPECT_STREQ(path, "D:\\photo\\2011_0502_001.jpg");
  EXPECT_TRUE(ComposeFilePath(path, "D:", "PICT0100.jpg"));
  EXPECT_STREQ(path, "D:\\PICT0100.jpg");

  snprintf(job.SourceCommonPart, sizeof job.SourceCommonPart, "%s", "IMG_A");
  job.SourceDigits = 0;
  EXPECT_TRUE(ComposeOldName(name, job, 0));
  EXPECT_STREQ(name, "IMG_A.jpg");
}

TEST(WorkerRules, TheLongestRecordValuesGiveWholePaths) {
  RenameSettings s = PictSettings();
  std::memset(s.SourceFolder, 'f', sizeof s.SourceFolder - 1);
  s.SourceFolder[sizeof s.SourceFolder - 1] = '\0';
  std::memset(s.SourceCommonPart, 'c', sizeof s.SourceCommonPart - 1);
  s.SourceCommonPart[sizeof s.SourceCommonPart - 1] = '\0';
  std::memset(s.SourceExtension, 'e', sizeof s.SourceExtension - 1);
  s.SourceExtension[sizeof s.SourceExtension - 1] = '\0';
  std::memset(s.NamePart1, 'a', 39);
  s.NamePart1[39] = '\0';
  std::memset(s.NamePart2, 'b', 39);
  s.NamePart2[39] = '\0';
  s.SourceDigits = 9;
  s.SerialDigits = 9;
  RenameJob job;
  TakeRenameJob(job, s);
  char oldName[kWorkerNameSize], newName[kWorkerNameSize], path[kWorkerPathSize];
  EXPECT_TRUE(ComposeOldName(oldName, job, 123456789));
  char prefix[kNamePrefixSize];
  EXPECT_TRUE(ComposeNamePrefix(prefix, job.NamePart1, job.NamePart2, 0, 9));
  EXPECT_TRUE(ComposeNewName(newName, prefix, 999999999, job));
  EXPECT_TRUE(ComposeFilePath(path, job.SourceFolder, oldName));
  EXPECT_TRUE(ComposeFilePath(path, job.SourceFolder, newName));
  EXPECT_EQ(std::strlen(path), 383u + 1 + 39 + 1 + 39 + 1 + 9 + 15);
}

TEST(WorkerRules, TheListGrowsByOneHundredAndKeepsItsNumbers) {
  SourceNumberList list = {};
  ASSERT_TRUE(CreateSourceNumberList(list, RuntimeListMemory()));
  EXPECT_EQ(list.Room, 100);
  std::vector<int> rooms;
  for (int i = 0; i < 250; ++i) {
    ASSERT_TRUE(AddSourceNumber(list, 1000 - i));
    if (rooms.empty() || rooms.back() != list.Room) rooms.push_back(list.Room);
  }
  EXPECT_EQ(rooms, (std::vector<int>{100, 200, 300}));
  EXPECT_EQ(list.Count, 250);
  // Room reached at 100 and 200 numbers, never before.
  SourceNumberList small = {};
  ASSERT_TRUE(CreateSourceNumberList(small, RuntimeListMemory()));
  for (int i = 0; i < 99; ++i) AddSourceNumber(small, i);
  EXPECT_EQ(small.Room, 100);
  AddSourceNumber(small, 99);
  EXPECT_EQ(small.Room, 200);
  FreeSourceNumberList(small);

  SortSourceNumbers(list);
  for (int i = 0; i < 250; ++i) EXPECT_EQ(list.Numbers[i], 751 + i);
  FreeSourceNumberList(list);
  EXPECT_EQ(list.Numbers, nullptr);
}

// The order of the renames over a listing out of number order is tested
// through the run itself (rename_run_test.cpp).
TEST(WorkerRules, SourceNumbersSortAsSignedValues) {
  SourceNumberList list = {};
  // Numbers compare as signed values.
  ASSERT_TRUE(CreateSourceNumberList(list, RuntimeListMemory()));
  for (int n : {5, -1, 100, 0, -2147483647 - 1}) AddSourceNumber(list, n);
  SortSourceNumbers(list);
  EXPECT_EQ(std::vector<int>(list.Numbers, list.Numbers + list.Count),
            (std::vector<int>{-2147483647 - 1, -1, 0, 5, 100}));
  FreeSourceNumberList(list);
}

TEST(WorkerRules, TheSerialNeverWrapsAroundThirtyTwoBits) {
  EXPECT_EQ(NextSerial(1, 1), 2);
  EXPECT_EQ(NextSerial(90, 10), 100);
  EXPECT_EQ(NextSerial(999999999, 10), 1000000009);
  EXPECT_EQ(NextSerial(2147483640, 10), 2147483647);
  EXPECT_EQ(NextSerial(5, 2147483647), 2147483647);
  EXPECT_GT(NextSerial(2147483647, 1), MaxSerial(9));
}

TEST(WorkerRules, PausesAreShorterForRunsOfFiftyFilesOrMore) {
  const struct {
    int files;
    int pause;
  } cases[] = {{1, 100}, {49, 100}, {50, 50}, {250, 50}, {1000, 50}};
  for (const auto& c : cases) EXPECT_EQ(PauseAfterFile(c.files), c.pause) << c.files;
}

TEST(WorkerRules, ErrorCodesSayWhetherTheRunStops) {
  const struct {
    unsigned long code;
    const char* message;
    bool stops;
  } cases[] = {
      {2, "元ファイルが見つかりません", false},
      {183, "新ファイル名はすでに存在します。処理を中止します。", true},
      {19, "書き込み禁止です。処理を中止します。", true},
      {1235, "キャンセルされました。処理を中止します。", true},
      {5, "その他エラー", false},
      {80, "その他エラー", false},
      {0, "その他エラー", false},
  };
  for (const auto& c : cases) {
    RenameErrorRule rule = RenameErrorFor(c.code);
    EXPECT_STREQ(rule.Message, c.message) << c.code;
    EXPECT_EQ(rule.StopsRun, c.stops) << c.code;
  }
}

TEST(WorkerRules, RowTextsOfTheWorkedExample) {
  char row[kWorkerRowSize];
  FormatStartRow(row, 100, 102, "D:\\photo");
  EXPECT_STREQ(row, "リネーム開始　元ファイル開始番号：100  終了番号：102  フォルダ：D:\\photo");
  FormatRenamedRow(row, "PICT0100.jpg", "2011_0502_001.jpg");
  EXPECT_STREQ(row, "PICT0100.jpg -> 2011_0502_001.jpg  ＯＫ");
  FormatFailedRow(row, "PICT0101.jpg", "2011_0502_002.jpg");
  EXPECT_STREQ(row, "PICT0101.jpg -> 2011_0502_002.jpg  失敗");
  FormatErrorCodeRow(row, 183);
  EXPECT_STREQ(row, "新ファイル名はすでに存在します。処理を中止します。 (Err Code = 183)");
  FormatErrorCodeRow(row, 2);
  EXPECT_STREQ(row, "元ファイルが見つかりません (Err Code = 2)");
  FormatResultRow(row, 1, 1);
  EXPECT_STREQ(row, "リネーム結果  成功数 = 1  失敗数 = 1");
  EXPECT_STREQ(kRowEnd, "リネーム終了");
  EXPECT_STREQ(kRowNoSource, "該当する元ファイルがありません。");
  EXPECT_STREQ(kRowNoMemory, "メモリ確保に失敗しました。");
  EXPECT_STREQ(kRowNoMemoryGrowth, "メモリ確保(realloc)に失敗しました。");
  EXPECT_STREQ(kRowSerialOverflow, "新ファイル名の連番が桁数を超えたため処理を中止します。");
}

TEST(WorkerRules, RowsAreCutToFiveHundredElevenBytesOnWholeCharacters) {
  // Odd and even offsets, so that one of the cuts falls inside a character.
  for (int shift = 0; shift < 2; ++shift) {
    std::string folder = shift ? "D:\\x" : "D:\\";
    while (folder.size() < 600) folder += "表";
    char row[kWorkerRowSize];
    FormatStartRow(row, 100, 102, folder.c_str());
    EXPECT_GE(std::strlen(row), 510u);
    EXPECT_LE(std::strlen(row), 511u);
    EXPECT_TRUE(EndsOnCharacterBoundary(row));
    EXPECT_EQ(std::string(row).find("リネーム開始"), 0u);

    std::string name = shift ? "a" : "";
    while (name.size() < 400) name += "ソ";
    FormatRenamedRow(row, name.c_str(), name.c_str());
    EXPECT_GE(std::strlen(row), 509u);
    EXPECT_LE(std::strlen(row), 511u);
    EXPECT_TRUE(EndsOnCharacterBoundary(row));
    FormatFailedRow(row, name.c_str(), "x");
    EXPECT_LE(std::strlen(row), 511u);
    EXPECT_TRUE(EndsOnCharacterBoundary(row));
  }
}

}  // namespace
