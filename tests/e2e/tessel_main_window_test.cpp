// Tessel's main window, started for real from a fresh folder: what the user
// sees at start, and what Tessel.ini holds after it ends.
#include <gtest/gtest.h>

#include <cstring>

#include "e2e/driver.h"
#include "e2e/tessel_session.h"
#include "shell/settings_record.h"

using namespace e2e;

namespace {

const char kHintRow[] = " メニューの改名で新旧ファイル名等を設定してください。";
const char kStatusStart[] = " 写真ファイルのファイル名を変更します。";

using Tessel = TesselSession;

RenameSettings StoredRecord(int left, int top, int width, int height) {
  RenameSettings s;
  MakeDefaultSettings(s);
  s.WindowLeft = left;
  s.WindowTop = top;
  s.WindowWidth = width;
  s.WindowHeight = height;
  return s;
}

void ExpectRect(const RECT& r, int left, int top, int width, int height) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST(TesselMainWindow, FirstStartShowsDefaultsAndQuitWritesThem) {
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("first"));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  EXPECT_EQ(WindowText(t.Main), "Tessel");
  std::vector<ListRow> rows = ReadListRows(t.List);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Class, 'I');
  EXPECT_EQ(rows[0].Text, kHintRow);

  std::vector<std::string> parts = StatusBarTexts(t.Status);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], kStatusStart);
  // The clock part fills within a second of start-up.
  std::string clock;
  ASSERT_TRUE(WaitUntil(
      [&] {
        clock = StatusBarTexts(t.Status)[1];
        return !clock.empty();
      },
      1500));
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string year = " " + std::to_string(now.wYear) + ".";
  EXPECT_EQ(clock.compare(0, year.size(), year), 0) << clock;

  // Opened at (200, 100) with the default size fitted to the frame metrics.
  RECT bar = WindowRect(t.Status);
  int barHeight = bar.bottom - bar.top;
  RECT r = WindowRect(t.Main);
  ExpectRect(r, 200, 100, 584 + 2 * GetSystemMetrics(SM_CXFRAME) - 8,
             500 + barHeight + GetSystemMetrics(SM_CYSIZE) + 2 * GetSystemMetrics(SM_CYFRAME) - 26);
  EXPECT_FALSE(FileExists(t.Ini));

  ASSERT_NO_FATAL_FAILURE(t.Quit());
  RenameSettings s = t.ReadIni();
  RenameSettings defaults;
  MakeDefaultSettings(defaults);
  // Everything but the window rectangle is the default record, byte for byte.
  EXPECT_EQ(memcmp(&s, &defaults, offsetof(RenameSettings, WindowLeft)), 0);
  EXPECT_EQ(s.WindowLeft, r.left);
  EXPECT_EQ(s.WindowTop, r.top);
  EXPECT_EQ(s.WindowWidth, r.right - r.left);
  EXPECT_EQ(s.WindowHeight, r.bottom - r.top);
}

TEST(TesselMainWindow, MenuBarHasItsEntriesAndIds) {
  std::vector<MenuEntry> menu = ReadMenuResource(JoinPath(BinFolder(), "Tessel.exe"), 120);
  struct Expected {
    int depth, id;
    bool popup, separator;
    const char* text;
  } expected[] = {
      {0, 0, true, false, "ファイル"},    {1, 123, false, false, "プログラムの終了"},
      {0, 121, false, false, "改名"},     {0, 0, true, false, "ヘルプ"},
      {1, 124, false, false, "使用方法"}, {1, 0, false, true, ""},
      {1, 125, false, false, "ホームページ"}, {1, 0, false, true, ""},
      {1, 126, false, false, "バージョン"},
  };
  ASSERT_EQ(menu.size(), sizeof expected / sizeof expected[0]);
  for (size_t i = 0; i < menu.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(menu[i].Depth, expected[i].depth);
    EXPECT_EQ(menu[i].Popup, expected[i].popup);
    EXPECT_EQ(menu[i].Separator, expected[i].separator);
    if (!expected[i].separator) {
      EXPECT_EQ(menu[i].Id, expected[i].id);
      EXPECT_EQ(menu[i].Text, expected[i].text);
    }
  }
}

TEST(TesselMainWindow, StoredRecordIsUsedAsItStandsAndSavedBack) {
  struct Case {
    char stored, saved;
  } cases[] = {{' ', '1'}, {'0', '0'}, {'1', '1'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.stored));
    RenameSettings in = StoredRecord(150, 80, 600, 450);
    in.FormatVersion = 99;  // loads like any other
    in.ShowConfirmation = c.stored;
    in.SourceFirst = 5;  // never reaches the user: 0 after start-up
    in.SourceLast = 9;
    // An earlier, longer value left bytes behind the NUL.
    memcpy(in.NamePart1, "AB\0XYZ", 6);
    memcpy(in.Part2History[3], "ok\0rest", 7);
    memset(in.Reserved, 'R', sizeof in.Reserved);
    Tessel t;
    ASSERT_NO_FATAL_FAILURE(t.Prepare("stored", &in));
    ASSERT_NO_FATAL_FAILURE(t.Start());
    // The loaded size is used without the metric fit.
    ExpectRect(WindowRect(t.Main), 150, 80, 600, 450);
    ASSERT_NO_FATAL_FAILURE(t.Quit());

    RenameSettings expected = in;
    expected.ShowConfirmation = c.saved;
    expected.SourceFirst = 0;
    expected.SourceLast = 0;
    RenameSettings out = t.ReadIni();
    EXPECT_EQ(memcmp(&out, &expected, sizeof out), 0);
  }
}

TEST(TesselMainWindow, MaximisedWindowKeepsTheLastNormalRectangle) {
  RenameSettings in = StoredRecord(120, 60, 640, 480);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("maximised", &in));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  // The user moves the window; a session-end query saves that rectangle.
  SetWindowPos(t.Main, nullptr, 90, 70, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(t.Main).left == 90; }, 3000));
  EXPECT_EQ(SendMessageA(t.Main, WM_QUERYENDSESSION, 0, 0), TRUE);
  RenameSettings saved = t.ReadIni();
  EXPECT_EQ(saved.WindowLeft, 90);
  EXPECT_EQ(saved.WindowWidth, 700);

  ShowWindowAsync(t.Main, SW_MAXIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(t.Main) != FALSE; }, 3000));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  RenameSettings out = t.ReadIni();
  EXPECT_EQ(out.WindowLeft, 90);
  EXPECT_EQ(out.WindowTop, 70);
  EXPECT_EQ(out.WindowWidth, 700);
  EXPECT_EQ(out.WindowHeight, 500);
}

TEST(TesselMainWindow, ShortSettingsFileCountsAsMissing) {
  std::vector<unsigned char> shortFile(100, 0);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.PrepareBytes("short", shortFile.data(), shortFile.size()));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  RECT r = WindowRect(t.Main);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 100);
  EXPECT_GT(r.right - r.left, 500);
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  RenameSettings out = t.ReadIni();
  EXPECT_EQ(out.FormatVersion, 110);
  EXPECT_STREQ(out.Part1History[0], "北海道旅行");
}

// The settings cannot be written: the failure row, the box at exit, and the
// program still ends.
void ExpectSaveFailureAtExit(Tessel& t) {
  PostCommand(t.Main, 123);
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(t.Run.Process.dwProcessId, 10000, box));
  EXPECT_EQ(box.Caption, "設定");
  EXPECT_EQ(box.Text, "設定ファイルの更新に失敗しました");
  std::vector<ListRow> rows = ReadListRows(t.List);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back().Class, 'E');
  EXPECT_EQ(rows.back().Text, " 設定ファイル（書込み）オープンエラー");
  EXPECT_EQ(StatusBarTexts(t.Status)[0], "　Tesselを終了しています。少しお待ち下さい");
  AnswerMessageBox(box, IDOK);
  DWORD code = 1;
  ASSERT_TRUE(WaitForExit(t.Run, 10000, &code));
  EXPECT_EQ(code, 0u);
}

TEST(TesselMainWindow, ReadOnlySettingsFileIsReportedAtExit) {
  RenameSettings in = StoredRecord(130, 90, 610, 460);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("readonly", &in));
  ASSERT_TRUE(SetFileAttributesA(t.Ini.c_str(), FILE_ATTRIBUTE_READONLY));
  // Wine keeps the read-only mark in the Unix permissions, which do not stop
  // root: there the file stays writable and the case cannot be made.
  HANDLE probe = CreateFileA(t.Ini.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    SetFileAttributesA(t.Ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    GTEST_SKIP() << "read-only files are writable here (running as root)";
  }
  ASSERT_NO_FATAL_FAILURE(t.Start());
  ExpectRect(WindowRect(t.Main), 130, 90, 610, 460);
  SetWindowPos(t.Main, nullptr, 10, 10, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_NO_FATAL_FAILURE(ExpectSaveFailureAtExit(t));
  SetFileAttributesA(t.Ini.c_str(), FILE_ATTRIBUTE_NORMAL);
  RenameSettings out = t.ReadIni();
  EXPECT_EQ(memcmp(&out, &in, sizeof out), 0);  // the file on disk is not updated
}

TEST(TesselMainWindow, LockedSettingsFileLoadsDefaultsAndIsReportedAtExit) {
  RenameSettings in = StoredRecord(130, 90, 610, 460);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("locked", &in));
  // Another program holds the file open without sharing.
  HANDLE held = CreateFileA(t.Ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_NO_FATAL_FAILURE(t.Start());
  RECT r = WindowRect(t.Main);
  EXPECT_EQ(r.left, 200);  // could not be read: defaults
  EXPECT_EQ(ReadListRows(t.List).size(), 1u);  // and nothing to report
  ASSERT_NO_FATAL_FAILURE(ExpectSaveFailureAtExit(t));
  CloseHandle(held);
  RenameSettings out = t.ReadIni();
  EXPECT_EQ(memcmp(&out, &in, sizeof out), 0);
}

TEST(TesselMainWindow, FolderInPlaceOfTheSettingsFileLoadsDefaultsAndIsReportedAtExit) {
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("folder"));
  ASSERT_TRUE(CreateDirectoryA(t.Ini.c_str(), nullptr));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  EXPECT_EQ(WindowRect(t.Main).left, 200);
  EXPECT_EQ(ReadListRows(t.List).size(), 1u);
  ASSERT_NO_FATAL_FAILURE(ExpectSaveFailureAtExit(t));
  EXPECT_TRUE(GetFileAttributesA(t.Ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
