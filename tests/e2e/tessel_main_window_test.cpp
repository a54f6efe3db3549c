// Tessel's main window, started for real from a fresh folder: what the user
// sees at start, and what Tessel.ini holds after it ends.
#include <gtest/gtest.h>

#include <cstring>

#include "e2e/default_record.h"
#include "e2e/driver.h"
#include "e2e/gothic_font.h"
#include "e2e/tessel_session.h"
#include "shell/settings_record.h"

using namespace e2e;

namespace {

const char kHintRow[] = " メニューの改名で新旧ファイル名等を設定してください。";
const char kStatusStart[] = " 写真ファイルのファイル名を変更します。";

using Tessel = TesselSession;

RenameSettings StoredRecord(int left, int top, int width, int height) {
  RenameSettings s = DefaultRecord();
  s.WindowLeft = left;
  s.WindowTop = top;
  s.WindowWidth = width;
  s.WindowHeight = height;
  return s;
}

// The default size fitted to this system's frame metrics: 2 x SM_CXFRAME - 8
// wider, and the status bar's height + SM_CYSIZE + 2 x SM_CYFRAME - 26 taller.
int FittedWidth() { return 584 + 2 * GetSystemMetrics(SM_CXFRAME) - 8; }
int FittedHeight(HWND statusBar) {
  RECT bar = WindowRect(statusBar);
  return 500 + (bar.bottom - bar.top) + GetSystemMetrics(SM_CYSIZE) +
         2 * GetSystemMetrics(SM_CYFRAME) - 26;
}

// The default record as a first start writes it: the window fields hold
// the rectangle the window had at the end.
std::vector<unsigned char> DefaultFileBytes(int left, int top, int width, int height) {
  std::vector<unsigned char> b = DefaultRecordBytes();
  PutInt(b, kAtWindowLeft, left);
  PutInt(b, kAtWindowTop, top);
  PutInt(b, kAtWindowWidth, width);
  PutInt(b, kAtWindowHeight, height);
  return b;
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
  int width = FittedWidth();
  int height = FittedHeight(t.Status);
  ExpectRect(WindowRect(t.Main), 200, 100, width, height);
  EXPECT_FALSE(FileExists(t.Ini));

  ASSERT_NO_FATAL_FAILURE(t.Quit());
  // The whole default record, byte for byte, with the window where it was.
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(ReadFileBytes(t.Ini, bytes));
  EXPECT_TRUE(SameBytes(bytes, DefaultFileBytes(200, 100, width, height)));
}

// Another process's font handle means nothing here, so the list's font is
// told by what it does: the widths the list gives its texts.
TEST(TesselMainWindow, LogListMeasuresItsTextsInTheGothicFont) {
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("font"));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  LOGFONTA gothic = GothicDescription(14);
  LOGFONTA other = GothicDescription(16);
  const char* texts[] = {kHintRow, "PICT0100.jpg", "Wi 2011_0502_001 富士山"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    int width = TextWidth(gothic, text);
    ASSERT_NE(width, TextWidth(other, text)) << "the text must tell the heights apart";
    EXPECT_EQ(ListStringWidth(t.List, text), width);
  }
  ASSERT_NO_FATAL_FAILURE(t.Quit());
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
    EXPECT_TRUE(SameBytes(RecordBytes(t.ReadIni()), RecordBytes(expected)));
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
  // Counted as missing: the default record, fitted as at a first start.
  int width = FittedWidth();
  int height = FittedHeight(t.Status);
  ExpectRect(WindowRect(t.Main), 200, 100, width, height);
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(ReadFileBytes(t.Ini, bytes));
  EXPECT_TRUE(SameBytes(bytes, DefaultFileBytes(200, 100, width, height)));
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
  // The file on disk is not updated.
  EXPECT_TRUE(SameBytes(RecordBytes(t.ReadIni()), RecordBytes(in)));
}

TEST(TesselMainWindow, ASettingsFileLockedAtStartIsLeftAsItWasAndThatIsSaidAtExit) {
  RenameSettings in = StoredRecord(130, 90, 610, 460);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("locked", &in));
  // Another program holds the file open without sharing while Tessel starts,
  // and lets it go before Tessel ends.
  HANDLE held = CreateFileA(t.Ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_NO_FATAL_FAILURE(t.Start());
  RECT r = WindowRect(t.Main);
  EXPECT_EQ(r.left, 200);  // could not be read: defaults
  EXPECT_EQ(ReadListRows(t.List).size(), 1u);  // and nothing to report
  CloseHandle(held);

  PostCommand(t.Main, 123);
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(t.Run.Process.dwProcessId, 10000, box));
  EXPECT_EQ(box.Caption, "設定");
  EXPECT_EQ(box.Text,
            "設定ファイル（Tessel.ini）を読み込めなかったため、今回の設定は保存しませんでした");
  EXPECT_EQ(ReadListRows(t.List).size(), 1u);
  AnswerMessageBox(box, IDOK);
  DWORD code = 1;
  ASSERT_TRUE(WaitForExit(t.Run, 10000, &code));
  EXPECT_EQ(code, 0u);
  // The user's record is not replaced by the defaults.
  EXPECT_TRUE(SameBytes(RecordBytes(t.ReadIni()), RecordBytes(in)));
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
