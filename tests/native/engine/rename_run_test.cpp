// The rename run fed a listing of our choosing: names in any order, renames
// that fail with chosen codes, and every rename, row and pause it asks for
// recorded in order.
#include "engine/rename_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct FakePlatform {
  bool SearchOpens = true;
  std::vector<std::string> Listing;
  std::map<std::string, unsigned long> FailingOldPaths;  // old path -> error code
  // What the run asked for, in order.
  std::string Pattern;
  size_t NextIndex = 0;
  int Opened = 0;
  int Closed = 0;
  std::vector<std::string> Renames;  // "old path>new path"
  std::vector<std::string> Rows;     // class character, then the text
  std::vector<int> Pauses;
  std::vector<std::string> Events;   // "rename", "row", "pause"

  static FakePlatform* Of(void* context) { return static_cast<FakePlatform*>(context); }
  static bool First(void* context, const char* pattern, const char** name) {
    FakePlatform* p = Of(context);
    p->Pattern = pattern;
    if (!p->SearchOpens) return false;
    p->Opened += 1;
    p->NextIndex = 0;
    return Next(context, name);
  }
  static bool Next(void* context, const char** name) {
    FakePlatform* p = Of(context);
    if (p->NextIndex >= p->Listing.size()) return false;
    *name = p->Listing[p->NextIndex++].c_str();
    return true;
  }
  static void Close(void* context) { Of(context)->Closed += 1; }
  static bool Rename(void* context, const char* oldPath, const char* newPath,
                     unsigned long* code) {
    FakePlatform* p = Of(context);
    p->Renames.push_back(std::string(oldPath) + ">" + newPath);
    p->Events.push_back("rename");
    auto failing = p->FailingOldPaths.find(oldPath);
    if (failing == p->FailingOldPaths.end()) return true;
    *code = failing->second;
    return false;
  }
  static void Row(void* context, char rowClass, const char* text) {
    Of(context)->Rows.push_back(std::string(1, rowClass) + text);
    Of(context)->Events.push_back("row");
  }
  static void Pause(void* context, int ms) {
    Of(context)->Pauses.push_back(ms);
    Of(context)->Events.push_back("pause");
  }

  void Run(const RenameJob& job) {
    RenameRunOps ops = {this, First, Next, Close, Rename, Row, Pause, RuntimeListMemory()};
    RunRenameJob(job, ops);
  }
};

// The conditions of the worked example: PICT, 4 digits, 100..102, .jpg,
// parts 2011 and 0502, separator "_", 3 serial digits from 1 by 1.
RenameJob WorkedExampleJob() {
  RenameJob job;
  std::memset(&job, 0, sizeof job);
  std::strcpy(job.SourceFolder, "D:\\photo");
  std::strcpy(job.SourceCommonPart, "PICT");
  std::strcpy(job.SourceExtension, ".jpg");
  job.SourceDigits = 4;
  job.SourceFirst = 100;
  job.SourceLast = 102;
  std::strcpy(job.NamePart1, "2011");
  std::strcpy(job.NamePart2, "0502");
  job.SerialDigits = 3;
  job.SerialStart = 1;
  job.SerialStep = 1;
  job.SeparatorKind = 0;
  return job;
}

// Serial numbers alone: PICT0001.jpg becomes 001.jpg and so on.
RenameJob SerialOnlyJob(int first, int last) {
  RenameJob job = WorkedExampleJob();
  job.SourceFirst = first;
  job.SourceLast = last;
  job.NamePart1[0] = '\0';
  job.NamePart2[0] = '\0';
  return job;
}

std::string Pict(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "PICT%04d.jpg", n);
  return name;
}

std::string RenameOf(int source, int serial) {
  char pair[96];
  std::snprintf(pair, sizeof pair, "D:\\photo\\PICT%04d.jpg>D:\\photo\\%03d.jpg", source, serial);
  return pair;
}

TEST(RenameRun, AListingOfThreeOneTwoIsRenamedInNumberOrder) {
  FakePlatform p;
  p.Listing = {"PICT0003.jpg", "PICT0001.jpg", "PICT0002.jpg"};
  p.Run(SerialOnlyJob(1, 9999));
  EXPECT_EQ(p.Pattern, "D:\\photo\\PICT*.jpg");
  EXPECT_EQ(p.Renames, (std::vector<std::string>{
                           "D:\\photo\\PICT0001.jpg>D:\\photo\\001.jpg",
                           "D:\\photo\\PICT0002.jpg>D:\\photo\\002.jpg",
                           "D:\\photo\\PICT0003.jpg>D:\\photo\\003.jpg",
                       }));
  EXPECT_EQ(p.Rows, (std::vector<std::string>{
                        "cリネーム開始　元ファイル開始番号：1  終了番号：9999  フォルダ：D:\\photo",
                        "IPICT0001.jpg -> 001.jpg  ＯＫ",
                        "IPICT0002.jpg -> 002.jpg  ＯＫ",
                        "IPICT0003.jpg -> 003.jpg  ＯＫ",
                        "Iリネーム結果  成功数 = 3  失敗数 = 0",
                        "cリネーム終了",
                    }));
  EXPECT_EQ(p.Opened, 1);
  EXPECT_EQ(p.Closed, 1);
}

TEST(RenameRun, AShuffledListingWithStrangersIsRenamedInNumberOrder) {
  FakePlatform p;
  // Twelve numbers of the run out of order, with names that the search
  // pattern lets through but the run does not take, and numbers outside the
  // range, spread between them.
  p.Listing = {"PICT0070.jpg", "PICT0120.jpg", "PICT0100 copy.jpg", "PICT0030.jpg",
               "PICT0010.jpg", "PICT0999.jpg", "PICT0100.jpg", "PICT0050.jpg",
               "PICT020.jpg",  "PICT0020.jpg", "PICT0110.jpg", "PICT0090.jpg",
               "PICT0005.jpg", "PICT0040.jpg", "PICT0080.jpg", "PICT0060.jpeg",
               "PICT0060.jpg"};
  p.Run(SerialOnlyJob(10, 120));
  std::vector<std::string> expected;
  for (int serial = 1; serial <= 12; ++serial) expected.push_back(RenameOf(serial * 10, serial));
  EXPECT_EQ(p.Renames, expected);
  ASSERT_EQ(p.Rows.size(), 15u);
  EXPECT_EQ(p.Rows[1], "IPICT0010.jpg -> 001.jpg  ＯＫ");
  EXPECT_EQ(p.Rows[12], "IPICT0120.jpg -> 012.jpg  ＯＫ");
  EXPECT_EQ(p.Rows[13], "Iリネーム結果  成功数 = 12  失敗数 = 0");
}

TEST(RenameRun, TheWorkedExampleStopsAtTheNameThatExists) {
  FakePlatform p;
  p.Listing = {"PICT0102.jpg", "PICT0100.jpg", "PICT0101.jpg"};
  p.FailingOldPaths["D:\\photo\\PICT0101.jpg"] = 183;
  p.Run(WorkedExampleJob());
  EXPECT_EQ(p.Rows, (std::vector<std::string>{
                        "cリネーム開始　元ファイル開始番号：100  終了番号：102  フォルダ：D:\\photo",
                        "IPICT0100.jpg -> 2011_0502_001.jpg  ＯＫ",
                        "EPICT0101.jpg -> 2011_0502_002.jpg  失敗",
                        "E新ファイル名はすでに存在します。処理を中止します。 (Err Code = 183)",
                        "Iリネーム結果  成功数 = 1  失敗数 = 1",
                        "cリネーム終了",
                    }));
  EXPECT_EQ(p.Renames, (std::vector<std::string>{
                           "D:\\photo\\PICT0100.jpg>D:\\photo\\2011_0502_001.jpg",
                           "D:\\photo\\PICT0101.jpg>D:\\photo\\2011_0502_002.jpg",
                       }));
  // The file that stopped the run is not followed by a pause.
  EXPECT_EQ(p.Pauses, (std::vector<int>{100}));
}

TEST(RenameRun, ErrorTwoGoesOnWithoutUsingUpASerial) {
  FakePlatform p;
  p.Listing = {"PICT0001.jpg", "PICT0002.jpg", "PICT0003.jpg"};
  p.FailingOldPaths["D:\\photo\\PICT0002.jpg"] = 2;
  p.Run(SerialOnlyJob(1, 3));
  EXPECT_EQ(p.Renames, (std::vector<std::string>{RenameOf(1, 1), RenameOf(2, 2), RenameOf(3, 2)}));
  ASSERT_EQ(p.Rows.size(), 7u);
  EXPECT_EQ(p.Rows[3], "E元ファイルが見つかりません (Err Code = 2)");
  EXPECT_EQ(p.Rows[5], "Iリネーム結果  成功数 = 2  失敗数 = 1");
  // A failure that lets the run go on is followed by its pause.
  EXPECT_EQ(p.Pauses, (std::vector<int>{100, 100, 100}));
}

TEST(RenameRun, EachFileIsFollowedByItsPauseTheLastOneIncluded) {
  struct Case {
    int files;
    int pause;
  } cases[] = {{1, 100}, {49, 100}, {50, 50}, {120, 50}};
  for (const Case& c : cases) {
    FakePlatform p;
    for (int n = c.files; n >= 1; --n) p.Listing.push_back(Pict(n));
    p.Run(SerialOnlyJob(1, 9999));
    EXPECT_EQ(p.Pauses, std::vector<int>(c.files, c.pause)) << c.files;
    // rename, row, pause for every file; the pause never comes before the row.
    ASSERT_GE(p.Events.size(), size_t(3 * c.files + 1));
    for (int i = 0; i < c.files; ++i) {
      EXPECT_EQ(p.Events[1 + 3 * i], "rename") << c.files << " " << i;
      EXPECT_EQ(p.Events[2 + 3 * i], "row") << c.files << " " << i;
      EXPECT_EQ(p.Events[3 + 3 * i], "pause") << c.files << " " << i;
    }
  }
}

TEST(RenameRun, ASerialBeyondItsDigitsStopsTheRunAfterTheFilesBeforeIt) {
  FakePlatform p;
  for (int n = 10; n >= 1; --n) p.Listing.push_back(Pict(n));
  RenameJob job = SerialOnlyJob(1, 10);
  job.SerialDigits = 2;
  job.SerialStart = 95;
  p.Run(job);
  ASSERT_EQ(p.Renames.size(), 5u);
  EXPECT_EQ(p.Renames[0], "D:\\photo\\PICT0001.jpg>D:\\photo\\95.jpg");
  EXPECT_EQ(p.Renames[4], "D:\\photo\\PICT0005.jpg>D:\\photo\\99.jpg");
  ASSERT_EQ(p.Rows.size(), 9u);
  EXPECT_EQ(p.Rows[6], "E新ファイル名の連番が桁数を超えたため処理を中止します。");
  EXPECT_EQ(p.Rows[7], "Iリネーム結果  成功数 = 5  失敗数 = 0");
  EXPECT_EQ(p.Pauses.size(), 5u);
}

TEST(RenameRun, NothingToRenameGivesThreeRowsAndNoRenameOrPause) {
  FakePlatform empty;
  empty.Listing = {"PICT0099.jpg", "PICT0100 copy.jpg"};
  FakePlatform unsearchable;
  unsearchable.SearchOpens = false;
  for (FakePlatform* p : {&empty, &unsearchable}) {
    p->Run(WorkedExampleJob());
    EXPECT_EQ(p->Rows, (std::vector<std::string>{
                           "cリネーム開始　元ファイル開始番号：100  終了番号：102  フォルダ：D:\\photo",
                           "E該当する元ファイルがありません。",
                           "cリネーム終了",
                       }));
    EXPECT_TRUE(p->Renames.empty());
    EXPECT_TRUE(p->Pauses.empty());
  }
  // A search is closed once when it was opened, never when it was not.
  EXPECT_EQ(empty.Closed, 1);
  EXPECT_EQ(unsearchable.Closed, 0);
}

}  // namespace
