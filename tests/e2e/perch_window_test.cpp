// Perch's set-up window, started for real: its caption and controls on each
// Windows generation, the box and radio rules, Cancel, the close question,
// a second start and a missing instruction file.
#include <gtest/gtest.h>

#include "e2e/perch_fixture.h"

using namespace perch_e2e;

namespace {

const char kAllPrograms[] = "スタートのすべてのプログラムの中";
const char kPrograms[] = "スタートのプログラムの中";

struct OsCase {
  const char* Version;
  const char* SecondRadio;
  bool InStartEnabled;
};

TEST(PerchWindow, ControlsAndEnablingOnEachWindowsGeneration) {
  const OsCase cases[] = {
      {"winxp", kAllPrograms, true},
      {"win2k", kPrograms, true},
      {"vista", kAllPrograms, false},
      {"win7", kAllPrograms, false},
  };
  for (const OsCase& c : cases) {
    SCOPED_TRACE(c.Version);
    VersionScope version(c.Version);
    ASSERT_TRUE(version.Ok);
    PerchRun p;
    ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-os", "Tessel"));
    ASSERT_NO_FATAL_FAILURE(p.Start());

    EXPECT_EQ(WindowText(p.Main), "Tessel のセットアップ");
    const char* labels[] = {"Ｏ　Ｋ", "キャンセル", "デスクトップに登録する",
                            "スタートメニューに登録する", "スタートの中", c.SecondRadio};
    for (int id = 1001; id <= 1006; ++id) {
      ASSERT_NE(p.Control(id), nullptr) << id;
      EXPECT_EQ(WindowText(p.Control(id)), labels[id - 1001]) << id;
      EXPECT_EQ(ClassName(p.Control(id)), "Button") << id;
      // Plain, non-automatic kinds: Perch sets every mark itself.
      const LONG kinds[] = {BS_PUSHBUTTON, BS_PUSHBUTTON, BS_CHECKBOX,
                            BS_CHECKBOX,   BS_RADIOBUTTON, BS_RADIOBUTTON};
      LONG style = GetWindowLongA(p.Control(id), GWL_STYLE);
      EXPECT_EQ(style & BS_TYPEMASK, kinds[id - 1001]) << id;
      EXPECT_TRUE((style & WS_CHILD) && (style & WS_VISIBLE)) << id;
    }
    EXPECT_EQ(p.Checked(1003), BST_CHECKED);
    EXPECT_EQ(p.Checked(1004), BST_CHECKED);
    EXPECT_EQ(p.Checked(1005), BST_UNCHECKED);
    EXPECT_EQ(p.Checked(1006), BST_CHECKED);
    EXPECT_EQ(p.Enabled(1005), c.InStartEnabled);
    EXPECT_TRUE(p.Enabled(1006));

    // Unticking the Start-menu box disables both radios; ticking it again
    // brings back 1006 always and 1005 only where it was enabled.
    p.Click(1004);
    EXPECT_EQ(p.Checked(1004), BST_UNCHECKED);
    EXPECT_FALSE(p.Enabled(1005));
    EXPECT_FALSE(p.Enabled(1006));
    p.Click(1004);
    EXPECT_EQ(p.Checked(1004), BST_CHECKED);
    EXPECT_EQ(p.Enabled(1005), c.InStartEnabled);
    EXPECT_TRUE(p.Enabled(1006));
    EXPECT_EQ(p.Checked(1006), BST_CHECKED);

    PostMessageA(p.Main, WM_CLOSE, 0, 0);
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
    AnswerMessageBox(box, IDYES);
    ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
  }
}

// The average character width of the UI font, measured on a screen DC.
int LiteralGothicCharWidth() {
  HFONT font = LiteralGothic();
  if (font == nullptr) return 0;
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICA metrics;
  int width = GetTextMetricsA(screen, &metrics) ? metrics.tmAveCharWidth : 0;
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  return width;
}

TEST(PerchWindow, LayoutFollowsTheFontWidth) {
  int charWidth = LiteralGothicCharWidth();
  ASSERT_GT(charWidth, 0);
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-layout", "Tessel"));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  // Positions relative to the client area.
  auto place = [&](int id) {
    RECT r = WindowRect(p.Control(id));
    MapWindowPoints(nullptr, p.Main, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  struct Want {
    int Id, X, Y, Width;
  } wants[] = {
      {1001, 50, 192, 12 * charWidth},
      {1002, 50 + 12 * charWidth + 24, 192, 12 * charWidth},
      {1003, 24, 72, 30 * charWidth},
      {1004, 24, 97, 30 * charWidth},
      {1005, 40, 122, 35 * charWidth},
      {1006, 40, 147, 35 * charWidth},
  };
  for (const Want& w : wants) {
    SCOPED_TRACE(w.Id);
    RECT r = place(w.Id);
    EXPECT_EQ(r.left, w.X);
    EXPECT_EQ(r.top, w.Y);
    EXPECT_EQ(r.right - r.left, w.Width);
    EXPECT_EQ(r.bottom - r.top, 24);
  }
  // Centred on the screen, 300 by 260.
  RECT frame = WindowRect(p.Main);
  EXPECT_EQ(frame.right - frame.left, 300);
  EXPECT_EQ(frame.bottom - frame.top, 260);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 260) / 2);
  LONG style = GetWindowLongA(p.Main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST(PerchWindow, WithoutATitleTheTargetIsUntitled) {
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-untitled", nullptr));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  EXPECT_EQ(WindowText(p.Main), "無題 のセットアップ");
}

// Through the platform's own profile reader: the first entry of a section
// comes whole, name and equals sign included, later entries are ignored, and
// a long title keeps at most 77 bytes without half a character at its end.
TEST(PerchWindow, InstructionEntriesAsTheProfileReaderGivesThem) {
  std::string kana40;
  for (int i = 0; i < 40; ++i) kana40 += "あ";  // 80 bytes
  struct Case {
    const char* Name;
    std::string Inf;
    std::string Caption;
    std::string Target;
  } cases[] = {
      {"name=value and a second entry",
       "[実行ファイル名]\r\nexe=Target.exe\r\nOther.exe\r\n[タイトル]\r\nname=写真\r\nLater\r\n",
       "name=写真 のセットアップ", "exe=Target.exe"},
      {"long ASCII title",
       "[実行ファイル名]\r\nTarget.exe\r\n[タイトル]\r\n" + std::string(100, 'x') + "\r\n",
       std::string(77, 'x') + " のセットアップ", "Target.exe"},
      {"long Shift-JIS title",
       "[実行ファイル名]\r\nTarget.exe\r\n[タイトル]\r\n" + kana40 + "\r\n",
       kana40.substr(0, 76) + " のセットアップ", "Target.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    PerchRun p;
    ASSERT_NO_FATAL_FAILURE(p.Prepare("perch-entries", &c.Inf));
    ASSERT_NO_FATAL_FAILURE(p.Start());
    EXPECT_EQ(WindowText(p.Main), c.Caption);
    p.Press(1002);
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
    EXPECT_EQ(box.Text, "プログラムを起動するときは " + c.Target + " をダブルクリックして下さい。　");
    AnswerMessageBox(box, IDOK);
    ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
  }
}

TEST(PerchWindow, CancelNamesTheTargetAndEnds) {
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-cancel", "Tessel"));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  p.Press(1002);
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
  EXPECT_EQ(box.Caption, "セットアップのキャンセル");
  EXPECT_EQ(box.Text, "プログラムを起動するときは Target.exe をダブルクリックして下さい。　");
  AnswerMessageBox(box, IDOK);
  ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
}

TEST(PerchWindow, TheCloseBoxAsksAndNoOrCancelKeepTheWindow) {
  VersionScope version("winxp");
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-close", "Tessel"));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  p.Click(1003);
  p.Click(1005);
  for (int answer : {IDNO, IDCANCEL}) {
    SCOPED_TRACE(answer);
    PostMessageA(p.Main, WM_CLOSE, 0, 0);
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
    EXPECT_EQ(box.Caption, "セットアップ");
    EXPECT_EQ(box.Text, "セットアップを中止しますか");
    EXPECT_NE(GetDlgItem(box.Window, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box.Window, IDNO), nullptr);
    EXPECT_NE(GetDlgItem(box.Window, IDCANCEL), nullptr);
    // No is the default button.
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(box.Window, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
    AnswerMessageBox(box, answer);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box.Window); }, kWait));
    // A click posted after the box went is handled by Perch's own message
    // loop once the close handling is over: had the answer destroyed the
    // window, the click would never show.
    PostMessageA(p.Control(1003), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return p.Checked(1003) == BST_CHECKED; }, kWait));
    EXPECT_TRUE(IsWindowVisible(p.Main));
    EXPECT_EQ(WaitForSingleObject(p.Run.Process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    p.Click(1003);
    // The choices stay as they were.
    EXPECT_EQ(p.Checked(1003), BST_UNCHECKED);
    EXPECT_EQ(p.Checked(1004), BST_CHECKED);
    EXPECT_EQ(p.Checked(1005), BST_CHECKED);
    EXPECT_EQ(p.Checked(1006), BST_UNCHECKED);
  }
  PostMessageA(p.Main, WM_CLOSE, 0, 0);
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
  AnswerMessageBox(box, IDYES);
  ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
}

TEST(PerchWindow, ASecondStartBringsTheFirstForwardAndEnds) {
  PerchRun first;
  ASSERT_NO_FATAL_FAILURE(first.PrepareFor("perch-twice", "Tessel"));
  ASSERT_NO_FATAL_FAILURE(first.Start());

  // Minimised, the first window is restored by the second start.
  ShowWindow(first.Main, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(first.Main) != 0; }, kWait));
  {
    Program second;
    ASSERT_TRUE(StartProgram(second, first.Exe));
    DWORD code = 12345;
    ASSERT_TRUE(WaitForExit(second, kWait, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(FindTopWindow(second.Process.dwProcessId, "PerchClass"), nullptr);
    EndProgram(second);
  }
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(first.Main) == 0; }, kWait));

  // Not minimised, it comes to the foreground.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, kWait));
  {
    Program second;
    ASSERT_TRUE(StartProgram(second, first.Exe));
    ASSERT_TRUE(WaitForExit(second, kWait, nullptr));
    EndProgram(second);
  }
  // Polled without taking this thread's messages: Wine handles the X focus
  // leaving `other` inside the message pump, and when that comes before
  // Perch's own change it hands the foreground to the desktop.
  DWORD start = GetTickCount();
  while (GetForegroundWindow() != first.Main && GetTickCount() - start < DWORD(kWait)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, 0);
  }
  EXPECT_EQ(GetForegroundWindow(), first.Main);
  DestroyWindow(other);
  EXPECT_TRUE(IsWindowVisible(first.Main));
  EXPECT_EQ(WaitForSingleObject(first.Run.Process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(PerchWindow, AnUnreadableInstructionFileWarnsAndEnds) {
  struct Case {
    const char* Name;
    bool WriteFile;
    std::string Inf;
  } cases[] = {
      {"no Perch.inf", false, ""},
      {"no executable section", true, "[タイトル]\r\nTessel\r\n"},
      {"an empty executable section", true, "[実行ファイル名]\r\n[タイトル]\r\nTessel\r\n"},
      {"a target outside Perch's folder", true, InstructionFile("..\\x.exe", "Tessel")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    PerchRun p;
    ASSERT_NO_FATAL_FAILURE(p.Prepare("perch-noinf", c.WriteFile ? &c.Inf : nullptr));
    FolderSnapshot before;
    before.Take(p.Folder);
    ASSERT_TRUE(StartProgram(p.Run, p.Exe));
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
    EXPECT_EQ(box.Caption, "セットアップ");
    EXPECT_EQ(box.Text, "Perch.Inf 読み込みエラー。セットアップを中止します。");
    // The set-up window is never shown.
    HWND main = FindTopWindow(p.Run.Process.dwProcessId, "PerchClass");
    EXPECT_TRUE(main == nullptr || !IsWindowVisible(main));
    AnswerMessageBox(box, IDOK);
    ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
    before.ExpectUnchanged();
  }
}

}  // namespace
