// The rename worker on real folders under Wine. The test's own window stands
// in for the main window: it receives every WM_APP_LOGROW and records the
// bridge's row, as the main window would append it.
#include "engine/rename_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "shell/app_state.h"
#include "shell/settings_record.h"
#include "win/engine/temp_files.h"

namespace {

struct Row {
  int rowClass;
  std::string text;
  LONG stateWhenSent;
  DWORD tick;  // GetTickCount when the row arrived
};

std::vector<Row> Rows;
std::function<void(const Row&)> OnRow;

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP_LOGROW) {
    Rows.push_back({App.BridgeClass, App.BridgeText, GetRenameState(), GetTickCount()});
    if (OnRow) OnRow(Rows.back());
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND RecorderWindow() {
  static HWND window = nullptr;
  if (window == nullptr) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TesselRowRecorder";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
  }
  return window;
}

// Conditions of the worked example, in the given folder.
void SetPictConditions(const std::string& folder, int first, int last) {
  MakeDefaultSettings(Settings);
  snprintf(Settings.SourceFolder, sizeof Settings.SourceFolder, "%s", folder.c_str());
  snprintf(Settings.SourceCommonPart, sizeof Settings.SourceCommonPart, "%s", "PICT");
  snprintf(Settings.SourceExtension, sizeof Settings.SourceExtension, "%s", ".jpg");
  Settings.SourceDigits = 4;
  Settings.SourceFirst = first;
  Settings.SourceLast = last;
  snprintf(Settings.NamePart1, sizeof Settings.NamePart1, "%s", "2011");
  snprintf(Settings.NamePart2, sizeof Settings.NamePart2, "%s", "0502");
  Settings.SerialDigits = 3;
  Settings.SerialStart = 1;
  Settings.SerialStep = 1;
  Settings.SeparatorKind = 0;
}

void SetSerialOnly(int start, int digits) {
  Settings.NamePart1[0] = '\0';
  Settings.NamePart2[0] = '\0';
  Settings.SerialStart = start;
  Settings.SerialDigits = digits;
}

// The worker's calls to the system timer's resolution: which, with what
// period, and how many rows had come before it. The worker makes them on
// its own thread while this one waits, and never during a row.
struct TimerCall {
  char kind;  // 'b' begin, 'e' end
  UINT period;
  size_t rowsBefore;
};
std::vector<TimerCall> TimerCalls;
MMRESULT BeginAnswer = TIMERR_NOERROR;
MMRESULT WINAPI RecordBegin(UINT period) {
  TimerCalls.push_back({'b', period, Rows.size()});
  return BeginAnswer;
}
MMRESULT WINAPI RecordEnd(UINT period) {
  TimerCalls.push_back({'e', period, Rows.size()});
  return TIMERR_NOERROR;
}

// Starts the worker as the main window does and serves its rows until it
// has ended. On every way out of the run, the timer's resolution was raised
// to 1 ms before its first row and given back after its last, once each;
// a raise refused is not given back.
void RunWorker() {
  Rows.clear();
  TimerCalls.clear();
  const RenameWorkerPlatform before = WorkerPlatform;
  WorkerPlatform.BeginTimerPeriod = RecordBegin;
  WorkerPlatform.EndTimerPeriod = RecordEnd;
  App.MainWindow = RecorderWindow();
  ASSERT_NE(App.MainWindow, nullptr);
  SetRenameState(kRenameRunning);
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, RenameWorkerThread, nullptr, 0, &id);
  ASSERT_NE(thread, nullptr);
  DWORD started = GetTickCount();
  bool ended = false;
  while (!ended) {
    DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, 200, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ended = wait == WAIT_OBJECT_0 && GetRenameState() == kRenameEnded;
    if (GetTickCount() - started > 120000) break;
  }
  CloseHandle(thread);
  OnRow = nullptr;
  WorkerPlatform.BeginTimerPeriod = before.BeginTimerPeriod;
  WorkerPlatform.EndTimerPeriod = before.EndTimerPeriod;
  ASSERT_TRUE(ended) << "the worker did not end";
  ASSERT_EQ(TimerCalls.size(), BeginAnswer == TIMERR_NOERROR ? 2u : 1u);
  EXPECT_EQ(TimerCalls[0].kind, 'b');
  EXPECT_EQ(TimerCalls[0].period, 1u);
  EXPECT_EQ(TimerCalls[0].rowsBefore, 0u);
  if (TimerCalls.size() == 2) {
    EXPECT_EQ(TimerCalls[1].kind, 'e');
    EXPECT_EQ(TimerCalls[1].period, 1u);
    EXPECT_EQ(TimerCalls[1].rowsBefore, Rows.size());
  }
  // -1 comes after the last row: every row was sent while the state was 1.
  for (const Row& r : Rows) EXPECT_EQ(r.stateWhenSent, kRenameRunning) << r.text;
}

std::string StartRow(int first, int last, const std::string& folder) {
  return "リネーム開始　元ファイル開始番号：" + std::to_string(first) + "  終了番号：" +
         std::to_string(last) + "  フォルダ：" + folder;
}

void ExpectRows(const std::vector<Row>& expected) {
  ASSERT_EQ(Rows.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Rows[i].rowClass, expected[i].rowClass) << "row " << i << ": " << Rows[i].text;
    EXPECT_EQ(Rows[i].text, expected[i].text) << "row " << i;
  }
}

std::string PictName(int n) {
  char name[32];
  snprintf(name, sizeof name, "PICT%04d.jpg", n);
  return name;
}

TEST(RenameWorker, TheWorkedExampleStopsAtTheNameThatExists) {
  testfiles::Folder dir("worked");
  for (int n = 100; n <= 102; ++n) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  ASSERT_TRUE(testfiles::Write(dir.Path, "2011_0502_002.jpg", "already here"));
  SetPictConditions(dir.Path, 100, 102);
  RunWorker();
  ExpectRows({
      {'c', StartRow(100, 102, dir.Path), 0},
      {'I', "PICT0100.jpg -> 2011_0502_001.jpg  ＯＫ", 0},
      {'E', "PICT0101.jpg -> 2011_0502_002.jpg  失敗", 0},
      {'E', "新ファイル名はすでに存在します。処理を中止します。 (Err Code = 183)", 0},
      {'I', "リネーム結果  成功数 = 1  失敗数 = 1", 0},
      {'c', "リネーム終了", 0},
  });
  EXPECT_EQ(testfiles::List(dir.Path),
            (std::vector<std::string>{"2011_0502_001.jpg", "2011_0502_002.jpg", "PICT0101.jpg",
                                      "PICT0102.jpg"}));
  EXPECT_EQ(testfiles::Read(dir.Path, "2011_0502_001.jpg"), "PICT0100.jpg");
  // The existing file is never overwritten.
  EXPECT_EQ(testfiles::Read(dir.Path, "2011_0502_002.jpg"), "already here");
  EXPECT_EQ(testfiles::Read(dir.Path, "PICT0101.jpg"), "PICT0101.jpg");
  EXPECT_EQ(testfiles::Read(dir.Path, "PICT0102.jpg"), "PICT0102.jpg");
}

TEST(RenameWorker, GapsInTheSourceNumbersLeaveNoGapsInTheSerials) {
  testfiles::Folder dir("gaps");
  for (int n : {100, 105, 110}) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  SetPictConditions(dir.Path, 100, 120);
  RunWorker();
  ASSERT_EQ(Rows.size(), 6u);
  EXPECT_EQ(Rows[1].text, "PICT0100.jpg -> 2011_0502_001.jpg  ＯＫ");
  EXPECT_EQ(Rows[2].text, "PICT0105.jpg -> 2011_0502_002.jpg  ＯＫ");
  EXPECT_EQ(Rows[3].text, "PICT0110.jpg -> 2011_0502_003.jpg  ＯＫ");
  EXPECT_EQ(Rows[4].text, "リネーム結果  成功数 = 3  失敗数 = 0");
  EXPECT_EQ(testfiles::Read(dir.Path, "2011_0502_001.jpg"), "PICT0100.jpg");
  EXPECT_EQ(testfiles::Read(dir.Path, "2011_0502_002.jpg"), "PICT0105.jpg");
  EXPECT_EQ(testfiles::Read(dir.Path, "2011_0502_003.jpg"), "PICT0110.jpg");
}

TEST(RenameWorker, OnlyTheRangeIsRenamedAndACopyIsIgnored) {
  testfiles::Folder dir("range");
  for (int n : {99, 100, 101, 121}) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  ASSERT_TRUE(testfiles::Write(dir.Path, "PICT0100 copy.jpg", "copy"));
  ASSERT_TRUE(testfiles::Write(dir.Path, "PICT0102.jpeg", "jpeg"));
  ASSERT_TRUE(testfiles::Write(dir.Path, "PICT102.jpg", "three digits"));
  SetPictConditions(dir.Path, 100, 120);
  RunWorker();
  ASSERT_EQ(Rows.size(), 5u);
  EXPECT_EQ(Rows[3].text, "リネーム結果  成功数 = 2  失敗数 = 0");
  EXPECT_EQ(testfiles::List(dir.Path),
            (std::vector<std::string>{"2011_0502_001.jpg", "2011_0502_002.jpg", "PICT0099.jpg",
                                      "PICT0100 copy.jpg", "PICT0102.jpeg", "PICT0121.jpg",
                                      "PICT102.jpg"}));
}

TEST(RenameWorker, TwoHundredFiftyFilesGrowTheListAndAllGetNewNames) {
  testfiles::Folder dir("many");
  for (int n = 1; n <= 250; ++n) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  SetPictConditions(dir.Path, 1, 9999);
  SetSerialOnly(1, 3);
  RunWorker();
  ASSERT_EQ(Rows.size(), 253u);
  EXPECT_EQ(Rows[250].text, "PICT0250.jpg -> 250.jpg  ＯＫ");
  EXPECT_EQ(Rows[251].text, "リネーム結果  成功数 = 250  失敗数 = 0");
  std::vector<std::string> names = testfiles::List(dir.Path);
  ASSERT_EQ(names.size(), 250u);
  for (int n = 1; n <= 250; ++n) {
    char name[16];
    snprintf(name, sizeof name, "%03d.jpg", n);
    ASSERT_EQ(names[n - 1], name);
    EXPECT_EQ(testfiles::Read(dir.Path, name), PictName(n));
  }
}

TEST(RenameWorker, AFileThatVanishesGivesErrorTwoAndUsesUpNoSerial) {
  testfiles::Folder dir("vanish");
  for (int n = 1; n <= 3; ++n) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  SetPictConditions(dir.Path, 1, 3);
  SetSerialOnly(1, 3);
  std::string victim = dir.Path + "\\" + PictName(2);
  OnRow = [&](const Row& row) {
    if (row.text == "PICT0001.jpg -> 001.jpg  ＯＫ") DeleteFileA(victim.c_str());
  };
  RunWorker();
  ExpectRows({
      {'c', StartRow(1, 3, dir.Path), 0},
      {'I', "PICT0001.jpg -> 001.jpg  ＯＫ", 0},
      {'E', "PICT0002.jpg -> 002.jpg  失敗", 0},
      {'E', "元ファイルが見つかりません (Err Code = 2)", 0},
      {'I', "PICT0003.jpg -> 002.jpg  ＯＫ", 0},
      {'I', "リネーム結果  成功数 = 2  失敗数 = 1", 0},
      {'c', "リネーム終了", 0},
  });
  EXPECT_EQ(testfiles::Read(dir.Path, "002.jpg"), "PICT0003.jpg");
}

TEST(RenameWorker, ASerialBeyondItsDigitsStopsTheRun) {
  testfiles::Folder dir("overflow");
  for (int n = 1; n <= 10; ++n) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  SetPictConditions(dir.Path, 1, 10);
  SetSerialOnly(95, 2);
  RunWorker();
  ASSERT_EQ(Rows.size(), 9u);
  EXPECT_EQ(Rows[1].text, "PICT0001.jpg -> 95.jpg  ＯＫ");
  EXPECT_EQ(Rows[5].text, "PICT0005.jpg -> 99.jpg  ＯＫ");
  EXPECT_EQ(Rows[6].rowClass, 'E');
  EXPECT_EQ(Rows[6].text, "新ファイル名の連番が桁数を超えたため処理を中止します。");
  EXPECT_EQ(Rows[7].text, "リネーム結果  成功数 = 5  失敗数 = 0");
  EXPECT_EQ(Rows[8].text, "リネーム終了");
  for (int n = 6; n <= 10; ++n) EXPECT_EQ(testfiles::Read(dir.Path, PictName(n)), PictName(n));
}

TEST(RenameWorker, AnEmptyOrMissingFolderGivesThreeRows) {
  testfiles::Folder dir("empty");
  for (std::string folder : {dir.Path, dir.Path + "\\missing"}) {
    SetPictConditions(folder, 100, 102);
    RunWorker();
    ExpectRows({
        {'c', StartRow(100, 102, folder), 0},
        {'E', "該当する元ファイルがありません。", 0},
        {'c', "リネーム終了", 0},
    });
  }
}

TEST(RenameWorker, ANameOnDiskInOtherLetterCaseIsMovedThroughTheRebuiltName) {
  testfiles::Folder dir("case");
  ASSERT_TRUE(testfiles::Write(dir.Path, "pict0100.JPG", "lower"));
  SetPictConditions(dir.Path, 100, 100);
  SetSerialOnly(1, 3);
  RunWorker();
  ASSERT_EQ(Rows.size(), 4u);
  EXPECT_EQ(Rows[1].text, "PICT0100.jpg -> 001.jpg  ＯＫ");
  // The new name carries the extension as stored, in lower case.
  EXPECT_EQ(testfiles::List(dir.Path), (std::vector<std::string>{"001.jpg"}));
  EXPECT_EQ(testfiles::Read(dir.Path, "001.jpg"), "lower");
}

TEST(RenameWorker, DoubleByteFoldersAndANameWithoutNumber) {
  testfiles::Folder dir("dbcs");
  // 表 and ソ end in 5C: the folder must not split there.
  std::string folder = dir.Path + "\\表ソ";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(testfiles::Write(folder, "写真.jpg", "one"));
  ASSERT_TRUE(testfiles::Write(folder, "写真1.jpg", "numbered"));
  SetPictConditions(folder, 0, 0);
  snprintf(Settings.SourceCommonPart, sizeof Settings.SourceCommonPart, "%s", "写真");
  Settings.SourceDigits = 0;
  snprintf(Settings.NamePart1, sizeof Settings.NamePart1, "%s", "函館");
  Settings.NamePart2[0] = '\0';
  Settings.SerialDigits = 0;
  Settings.SerialStart = 0;
  RunWorker();
  ASSERT_EQ(Rows.size(), 4u);
  EXPECT_EQ(Rows[0].text, StartRow(0, 0, folder));
  EXPECT_EQ(Rows[1].text, "写真.jpg -> 函館.jpg  ＯＫ");
  EXPECT_EQ(testfiles::List(folder), (std::vector<std::string>{"写真1.jpg", "函館.jpg"}));
  EXPECT_EQ(testfiles::Read(folder, "函館.jpg"), "one");
}

TEST(RenameWorker, ARecordCommittedDuringTheRunDoesNotChangeIt) {
  testfiles::Folder dir("once");
  for (int n = 1; n <= 2; ++n) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  SetPictConditions(dir.Path, 1, 2);
  OnRow = [](const Row& row) {
    if (row.rowClass != 'c') return;
    snprintf(Settings.NamePart1, sizeof Settings.NamePart1, "%s", "ZZZZ");
    Settings.SerialStart = 50;
    Settings.SourceLast = 1;
  };
  RunWorker();
  ASSERT_EQ(Rows.size(), 5u);
  EXPECT_EQ(Rows[1].text, "PICT0001.jpg -> 2011_0502_001.jpg  ＯＫ");
  EXPECT_EQ(Rows[2].text, "PICT0002.jpg -> 2011_0502_002.jpg  ＯＫ");
}

TEST(RenameWorker, AStepOfTenAndALaterExistingNameKeepEarlierRenames) {
  testfiles::Folder dir("step");
  for (int n = 1; n <= 4; ++n) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
  ASSERT_TRUE(testfiles::Write(dir.Path, "30.jpg", "taken"));
  SetPictConditions(dir.Path, 1, 4);
  SetSerialOnly(10, 2);
  Settings.SerialStep = 10;
  RunWorker();
  ASSERT_EQ(Rows.size(), 7u);
  EXPECT_EQ(Rows[1].text, "PICT0001.jpg -> 10.jpg  ＯＫ");
  EXPECT_EQ(Rows[2].text, "PICT0002.jpg -> 20.jpg  ＯＫ");
  EXPECT_EQ(Rows[3].text, "PICT0003.jpg -> 30.jpg  失敗");
  EXPECT_EQ(Rows[5].text, "リネーム結果  成功数 = 2  失敗数 = 1");
  EXPECT_EQ(testfiles::List(dir.Path), (std::vector<std::string>{"10.jpg", "20.jpg", "30.jpg",
                                                                 "PICT0003.jpg", "PICT0004.jpg"}));
  EXPECT_EQ(testfiles::Read(dir.Path, "30.jpg"), "taken");
}

TEST(RenameWorker, ASubFolderWhoseNameMatchesIsRenamedLikeAFile) {
  testfiles::Folder dir("subfolder");
  ASSERT_TRUE(testfiles::Write(dir.Path, PictName(100), PictName(100)));
  ASSERT_TRUE(CreateDirectoryA((dir.Path + "\\" + PictName(101)).c_str(), nullptr));
  ASSERT_TRUE(testfiles::Write(dir.Path + "\\" + PictName(101), "inside.txt", "inside"));
  ASSERT_TRUE(testfiles::Write(dir.Path, PictName(102), PictName(102)));
  SetPictConditions(dir.Path, 100, 102);
  RunWorker();
  ExpectRows({
      {'c', StartRow(100, 102, dir.Path), 0, 0},
      {'I', "PICT0100.jpg -> 2011_0502_001.jpg  ＯＫ", 0, 0},
      {'I', "PICT0101.jpg -> 2011_0502_002.jpg  ＯＫ", 0, 0},
      {'I', "PICT0102.jpg -> 2011_0502_003.jpg  ＯＫ", 0, 0},
      {'I', "リネーム結果  成功数 = 3  失敗数 = 0", 0, 0},
      {'c', "リネーム終了", 0, 0},
  });
  std::string folder = dir.Path + "\\2011_0502_002.jpg";
  DWORD attributes = GetFileAttributesA(folder.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(testfiles::Read(folder, "inside.txt"), "inside");
  EXPECT_EQ(testfiles::Read(dir.Path, "2011_0502_003.jpg"), PictName(102));
}

// Faults of a real disk. A photo that another program (a viewer) holds open
// without delete sharing cannot be moved: code 32. A read-only disk (a locked
// card) refuses every rename: code 5. Neither code stops the run, a refused
// file uses up no serial, and it keeps its name and bytes.
TEST(RenameWorker, AFileHeldOpenOrAReadOnlyDiskFailsItsFilesAndTheRunGoesOn) {
  const struct {
    const char* fault;
    bool readOnlyDisk;  // else PICT0002.jpg is held open
    std::vector<Row> rows;  // after the start row
    std::vector<std::string> namesAfter;
  } cases[] = {
      {"PICT0002.jpg held open",
       false,
       {{'I', "PICT0001.jpg -> 001.jpg  ＯＫ"},
        {'E', "PICT0002.jpg -> 002.jpg  失敗"},
        {'E', "その他エラー (Err Code = 32)"},
        {'I', "PICT0003.jpg -> 002.jpg  ＯＫ"},
        {'I', "リネーム結果  成功数 = 2  失敗数 = 1"},
        {'c', "リネーム終了"}},
       {"001.jpg", "002.jpg", "PICT0002.jpg"}},
      {"read-only disk",
       true,
       {{'E', "PICT0001.jpg -> 001.jpg  失敗"},
        {'E', "その他エラー (Err Code = 5)"},
        {'E', "PICT0002.jpg -> 001.jpg  失敗"},
        {'E', "その他エラー (Err Code = 5)"},
        {'E', "PICT0003.jpg -> 001.jpg  失敗"},
        {'E', "その他エラー (Err Code = 5)"},
        {'I', "リネーム結果  成功数 = 0  失敗数 = 3"},
        {'c', "リネーム終了"}},
       {"PICT0001.jpg", "PICT0002.jpg", "PICT0003.jpg"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    testfiles::MountedFolder dir("faults", "1m");
    for (int n = 1; n <= 3; ++n) ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.readOnlyDisk) {
      ASSERT_TRUE(dir.Lock()) << "the folder still takes changes";
    } else {
      held = CreateFileA((dir.Path + "\\" + PictName(2)).c_str(), GENERIC_READ, FILE_SHARE_READ,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    SetPictConditions(dir.Path, 1, 3);
    SetSerialOnly(1, 3);
    RunWorker();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    std::vector<Row> expected = {{'c', StartRow(1, 3, dir.Path)}};
    expected.insert(expected.end(), c.rows.begin(), c.rows.end());
    ExpectRows(expected);
    EXPECT_EQ(testfiles::List(dir.Path), c.namesAfter);
    for (int n = 1; n <= 3; ++n) {
      std::string name = PictName(n);
      if (std::count(c.namesAfter.begin(), c.namesAfter.end(), name) != 0) {
        EXPECT_EQ(testfiles::Read(dir.Path, name), name);
      }
    }
  }
}

// The number list's memory refused: at its creation the run searches
// nothing; at its growth (the 100th number found) it renames none of the
// numbers it has. The list it had is freed either way.
int Allocations, Frees;
void* CountedAllocate(size_t bytes) {
  Allocations += 1;
  return std::malloc(bytes);
}
void* Refused(size_t) { return nullptr; }
void* RefusedGrow(void*, size_t) { return nullptr; }
void CountedFree(void* block) {
  Frees += 1;
  std::free(block);
}

TEST(RenameWorker, MemoryRefusedForTheNumberListEndsTheRunWithNothingRenamed) {
  testfiles::Folder dir("memory");
  std::vector<std::string> names;
  for (int n = 1; n <= 101; ++n) {
    names.push_back(PictName(n));
    ASSERT_TRUE(testfiles::Write(dir.Path, names.back(), names.back()));
  }
  const struct {
    const char* refused;
    bool atCreation;
    const char* row;
  } cases[] = {{"creation", true, "メモリ確保に失敗しました。"},
               {"growth", false, "メモリ確保(realloc)に失敗しました。"}};
  const RenameWorkerPlatform runtime = WorkerPlatform;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refused);
    Allocations = Frees = 0;
    WorkerPlatform.Memory = {c.atCreation ? Refused : CountedAllocate, RefusedGrow, CountedFree};
    // The run goes on without the finer timer when the system refuses it.
    BeginAnswer = c.atCreation ? TIMERR_NOCANDO : TIMERR_NOERROR;
    SetPictConditions(dir.Path, 1, 9999);
    SetSerialOnly(1, 3);
    RunWorker();
    BeginAnswer = TIMERR_NOERROR;
    WorkerPlatform = runtime;
    ExpectRows({{'c', StartRow(1, 9999, dir.Path)}, {'E', c.row}, {'c', "リネーム終了"}});
    EXPECT_EQ(GetRenameState(), kRenameEnded);
    EXPECT_EQ(Frees, Allocations);
    EXPECT_EQ(testfiles::List(dir.Path), names);
  }
}

// The pause after each file, on the real worker: the run lasts at least its
// files times the pause, and the shortest gap between two files' rows shows
// which pause was taken. The lower bounds hold however busy the machine is.
// The worker waits for each row to be taken before it pauses, so with a pause
// of 100 ms every gap is 99 ms at least as GetTickCount counts it (under Wine
// Sleep never ends early, and the count drops only the part of a millisecond):
// the upper bound of 95 ms fails only when the longer pause was taken, and
// leaves 45 ms for the rename and the row of one file at the quickest of 59
// gaps.
TEST(RenameWorker, TwentyFilesPauseOneHundredAndSixtyFilesFiftyMilliseconds) {
  struct Case {
    int files;
    int pause;
  } cases[] = {{20, 100}, {60, 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files);
    testfiles::Folder dir("pause");
    for (int n = 1; n <= c.files; ++n)
      ASSERT_TRUE(testfiles::Write(dir.Path, PictName(n), PictName(n)));
    SetPictConditions(dir.Path, 1, c.files);
    SetSerialOnly(1, 3);
    RunWorker();
    ASSERT_EQ(Rows.size(), size_t(c.files + 3));
    // From the start row to the result row: every file and its pause, the
    // last one included.
    DWORD whole = Rows[c.files + 1].tick - Rows[0].tick;
    EXPECT_GE(whole, DWORD(c.files * c.pause * 9 / 10)) << whole;
    DWORD shortest = 0xFFFFFFFF;
    for (int i = 2; i <= c.files; ++i) {
      DWORD gap = Rows[i].tick - Rows[i - 1].tick;
      if (gap < shortest) shortest = gap;
    }
    EXPECT_GE(shortest, DWORD(c.pause * 8 / 10)) << shortest;
    if (c.pause == 50) {
      EXPECT_LT(shortest, 95u) << "a run of 50 files or more pauses 50 ms";
    }
  }
}

}  // namespace
