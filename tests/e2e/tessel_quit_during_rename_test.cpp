// Quitting while a rename runs: the notice shows, the window waits for the
// first tick of its shutdown timer, the settings are written, and the files
// the worker had not reached keep their names.
#include <gtest/gtest.h>

#include "e2e/conditions_fixture.h"

using namespace conditions_e2e;

namespace {

// Starts a job over `count` files R0001.txt... and waits until it is under way.
void StartLongJob(TesselRun& t, const std::string& files, int count) {
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(files, "R", 4, 1, count, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(files, "R0001.txt")));
  ASSERT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDOK); }, kEventWait));
  ASSERT_TRUE(SetItemText(dialog, 1005, "trip"));
  ClickButton(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(JoinPath(files, "trip_005.txt")); }, kEventWait));
}

int CountRenamed(const std::string& files, int count) {
  int renamed = 0;
  for (int n = 1; n <= count; ++n) {
    char name[32];
    snprintf(name, sizeof name, "trip_%03d.txt", n);
    if (FileExists(JoinPath(files, name))) ++renamed;
  }
  return renamed;
}

int CountUnrenamed(const std::string& files, int count) {
  int left = 0;
  for (int n = 1; n <= count; ++n) {
    char name[32];
    snprintf(name, sizeof name, "R%04d.txt", n);
    if (FileExists(JoinPath(files, name))) ++left;
  }
  return left;
}

TEST(TesselQuitDuringRename, WindowWaitsOneTickThenEndsAndSavesTheSettings) {
  const int count = 200;  // 50 ms after each file: about ten seconds of work
  RenameSettings record = DefaultRecord();
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("quit-running", &record));
  std::string files = MakeSubFolder(t.Folder, "files");
  ASSERT_NO_FATAL_FAILURE(StartLongJob(t, files, count));

  DWORD asked = GetTickCount();
  PostCommand(t.Main, 123);
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::vector<std::string> parts = StatusBarTexts(Child(t.Main, 5));
        return !parts.empty() && parts[0] == "　Tesselを終了しています。少しお待ち下さい";
      },
      kEventWait));
  EXPECT_TRUE(IsWindow(t.Main)) << "the window waits for its shutdown timer";
  DWORD code = 12345;
  ASSERT_TRUE(WaitForExit(t.Run, kEventWait, &code));
  DWORD waited = GetTickCount() - asked;
  EXPECT_EQ(code, 0u);
  EXPECT_GE(waited, 900u) << "ended before the first tick";

  // The worker ended with the process: some files renamed, the rest untouched,
  // none lost.
  int renamed = CountRenamed(files, count);
  int left = CountUnrenamed(files, count);
  EXPECT_GE(renamed, 5);
  EXPECT_LT(renamed, count);
  EXPECT_EQ(renamed + left, count);
  RenameSettings s = t.ReadIni();
  EXPECT_STREQ(s.NamePart1, "trip");
}

TEST(TesselQuitDuringRename, SecondCloseRequestEndsAtOnce) {
  const int count = 200;
  RenameSettings record = DefaultRecord();
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("quit-twice", &record));
  std::string files = MakeSubFolder(t.Folder, "files");
  ASSERT_NO_FATAL_FAILURE(StartLongJob(t, files, count));

  // Each request handled before the next is made: the first starts the
  // shutdown timer and leaves the window up; once the second has been
  // handled the window is gone, before any tick of that timer.
  ASSERT_TRUE(Ask(t.Main, WM_CLOSE, 0, 0, "WM_CLOSE"));
  ASSERT_TRUE(IsWindow(t.Main)) << "the first request waits for the worker";
  Ask(t.Main, WM_CLOSE, 0, 0, "WM_CLOSE");
  EXPECT_FALSE(IsWindow(t.Main)) << "the second request does not wait";
  DWORD code = 12345;
  ASSERT_TRUE(WaitForExit(t.Run, kEventWait, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(CountRenamed(files, count) + CountUnrenamed(files, count), count);
  EXPECT_TRUE(FileExists(t.Ini));
}

}  // namespace
