// Tessel's main window, started for real: the ways a user ends it (caption
// bar, Alt+F4), commands no menu entry carries, the show command it was
// started with, and Tessel.ini that cannot be written at a session-end query
// or at exit.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tessel_session.h"
#include "e2e/window_paths.h"
#include "shell/settings_record.h"

using namespace e2e;

namespace {

const char kHintRow[] = " メニューの改名で新旧ファイル名等を設定してください。";
const char kStatusStart[] = " 写真ファイルのファイル名を変更します。";
const char kEndingNotice[] = "　Tesselを終了しています。少しお待ち下さい";
const char kOpenErrorRow[] = " 設定ファイル（書込み）オープンエラー";
const char kSaveFailedText[] = "設定ファイルの更新に失敗しました";
const char kSaveFailedCaption[] = "設定";

using Tessel = TesselSession;

// A stored record written out field by field: every byte a space first, then
// the fields with their NULs.
RenameSettings StoredRecord(int left, int top, int width, int height) {
  RenameSettings s;
  memset(&s, ' ', sizeof s);
  s.FormatVersion = 110;
  strcpy(s.SourceFolder, "C:\\写真\\2012");
  strcpy(s.SourceExtension, ".jpg");
  strcpy(s.SourceCommonPart, "DSC");
  s.SourceDigits = 5;
  s.SourceFirst = 0;
  s.SourceLast = 0;
  strcpy(s.NamePart1, "京都");
  strcpy(s.NamePart2, "");
  s.SerialDigits = 2;
  s.SerialStart = 7;
  s.SerialStep = 10;
  s.SeparatorKind = 1;
  s.AutoDate = 0;
  s.DatePosition = 3;
  for (int i = 0; i < kHistorySlots; ++i) {
    s.Part1History[i][0] = '\0';
    s.Part2History[i][0] = '\0';
  }
  strcpy(s.Part1History[0], "京都");
  strcpy(s.Part2History[0], "嵐山");
  s.ShowConfirmation = '0';
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

void ExpectStoredRect(const RenameSettings& s, int left, int top, int width, int height) {
  EXPECT_EQ(s.WindowLeft, left);
  EXPECT_EQ(s.WindowTop, top);
  EXPECT_EQ(s.WindowWidth, width);
  EXPECT_EQ(s.WindowHeight, height);
}

// Moves the window as a user drags it, and waits until it is there.
void MoveMain(Tessel& t, int left, int top, int width, int height) {
  SetWindowPos(t.Main, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil(
      [&] {
        RECT r = WindowRect(t.Main);
        return r.left == left && r.top == top && r.right - r.left == width &&
               r.bottom - r.top == height;
      },
      kEventWait));
}

struct DialogCount {
  DWORD Pid;
  int Count;
};

BOOL CALLBACK CountDialog(HWND window, LPARAM param) {
  DialogCount* count = reinterpret_cast<DialogCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == count->Pid && ClassName(window) == "#32770" && IsWindowVisible(window)) {
    count->Count += 1;
  }
  return TRUE;
}

// The visible dialog boxes of the process.
int VisibleDialogs(DWORD pid) {
  DialogCount count = {pid, 0};
  EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&count));
  return count.Count;
}

// A session-end query, as the system sends it at log-off; answered without a
// box (a box would hold the answer back past the time limit).
LRESULT QueryEndSession(Tessel& t, LPARAM reason) {
  DWORD_PTR answer = 0;
  LRESULT sent = SendMessageTimeoutA(t.Main, WM_QUERYENDSESSION, 0, reason, SMTO_NORMAL, 10000,
                                     &answer);
  EXPECT_NE(sent, 0) << "no answer to the session-end query";
  return static_cast<LRESULT>(answer);
}

// The two ways of ending the program from the window itself.
enum class Way { CaptionClose, AltF4, AltF4Typed };
const char* WayName(Way way) {
  return way == Way::CaptionClose ? "caption close" : way == Way::AltF4 ? "Alt+F4" : "Alt+F4 typed";
}

// Asks the program to end the chosen way; `effect` is what shows that the
// request arrived.
void AskToEnd(Tessel& t, Way way, const std::function<bool()>& effect) {
  if (way == Way::CaptionClose) {
    // What the caption bar's close button sends: the cursor position in lParam.
    RECT r = WindowRect(t.Main);
    PostMessageA(t.Main, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(r.right - 10, r.top + 10));
  } else if (way == Way::AltF4) {
    PressAltKey(t.Main, VK_F4);
  } else {
    // Through the system's input queue to the window in front.
    ASSERT_TRUE(TypeAltKeyUntil(t.Main, VK_F4, effect));
  }
}

TEST(TesselWindowPaths, CaptionCloseAndAltF4EndAtOnceAndWriteTheSettings) {
  for (Way way : {Way::CaptionClose, Way::AltF4, Way::AltF4Typed}) {
    SCOPED_TRACE(WayName(way));
    RenameSettings in = StoredRecord(140, 70, 620, 470);
    in.SourceFirst = 12;  // 0 after start-up
    in.SourceLast = 34;
    in.ShowConfirmation = 'y';  // loads as '1'
    Tessel t;
    ASSERT_NO_FATAL_FAILURE(t.Prepare("ending", &in));
    ASSERT_NO_FATAL_FAILURE(t.Start());
    ExpectRect(WindowRect(t.Main), 140, 70, 620, 470);
    ASSERT_NO_FATAL_FAILURE(MoveMain(t, 60, 50, 650, 480));

    // No rename runs: no wait for the shutdown timer. The ending notice and
    // the window's end come in one message, so a look at the bar between
    // two messages never finds the notice while the window is up; a window
    // that waits for its timer shows it for a second.
    HWND status = t.Status;
    bool noticeWhileUp = false;
    auto gone = [&] {
      if (!IsWindow(t.Main)) return true;
      std::vector<std::string> parts = StatusBarTexts(status);
      if (!parts.empty() && parts[0] == kEndingNotice && IsWindow(t.Main)) noticeWhileUp = true;
      return false;
    };
    ASSERT_NO_FATAL_FAILURE(AskToEnd(t, way, gone));
    ASSERT_TRUE(WaitUntil(gone, kEventWait));
    EXPECT_FALSE(noticeWhileUp) << "the window waited for its shutdown timer";
    DWORD code = 12345;
    ASSERT_TRUE(WaitForExit(t.Run, kEventWait, &code));
    EXPECT_EQ(code, 0u);

    RenameSettings expected = in;
    expected.SourceFirst = 0;
    expected.SourceLast = 0;
    expected.ShowConfirmation = '1';
    expected.WindowLeft = 60;
    expected.WindowTop = 50;
    expected.WindowWidth = 650;
    expected.WindowHeight = 480;
    RenameSettings out = t.ReadIni();
    EXPECT_EQ(memcmp(&out, &expected, sizeof out), 0);
    ExpectStoredRect(out, 60, 50, 650, 480);
  }
}

TEST(TesselWindowPaths, CaptionCloseAndAltF4ShowTheEndingNotice) {
  for (Way way : {Way::CaptionClose, Way::AltF4, Way::AltF4Typed}) {
    SCOPED_TRACE(WayName(way));
    Tessel t;
    ASSERT_NO_FATAL_FAILURE(t.Prepare("notice"));
    ASSERT_NO_FATAL_FAILURE(t.Start());
    // A folder where the file goes keeps the window's last moment on the
    // screen: the save fails and its box waits for an answer.
    ASSERT_TRUE(CreateDirectoryA(t.Ini.c_str(), nullptr));
    ASSERT_NO_FATAL_FAILURE(AskToEnd(t, way, [&] { return MessageBoxShown(t.Pid()); }));
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(t.Pid(), kEventWait, box));
    EXPECT_EQ(box.Caption, kSaveFailedCaption);
    EXPECT_EQ(box.Text, kSaveFailedText);
    std::vector<std::string> parts = StatusBarTexts(t.Status);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0], kEndingNotice);
    std::vector<ListRow> rows = t.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].Class, 'E');
    EXPECT_EQ(rows[1].Text, kOpenErrorRow);
    AnswerMessageBox(box, IDOK);
    DWORD code = 12345;
    ASSERT_TRUE(WaitForExit(t.Run, kEventWait, &code));
    EXPECT_EQ(code, 0u);
  }
}

TEST(TesselWindowPaths, CommandsWithoutAMenuEntryGetDefaultProcessing) {
  RenameSettings in = StoredRecord(110, 90, 600, 440);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("commands", &in));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  const WPARAM commands[] = {
      MAKEWPARAM(122, 0), MAKEWPARAM(122, 1), MAKEWPARAM(0, 0),   MAKEWPARAM(1, 0),
      MAKEWPARAM(2, 0),   MAKEWPARAM(120, 0), MAKEWPARAM(127, 0), MAKEWPARAM(128, 0),
      MAKEWPARAM(221, 0), MAKEWPARAM(1123, 0), MAKEWPARAM(0xFFFF, 0),
  };
  for (WPARAM command : commands) PostMessageA(t.Main, WM_COMMAND, command, 0);
  // Posted after them: once its dialog is up, every command above has been
  // handled.
  PostCommand(t.Main, 126);
  HWND version = WaitForDialog(t.Pid(), "バージョン", kEventWait);
  ASSERT_NE(version, nullptr);

  EXPECT_TRUE(IsWindow(t.Main));
  EXPECT_EQ(VisibleDialogs(t.Pid()), 1) << "a command opened a dialog or a box";
  EXPECT_EQ(FindTopWindow(t.Pid(), "#32770", "ファイル名変更条件設定"), nullptr);
  std::vector<ListRow> rows = t.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Text, kHintRow);
  std::vector<std::string> parts = StatusBarTexts(t.Status);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], kStatusStart);

  ClickButton(version, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(version); }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  ExpectStoredRect(t.ReadIni(), 110, 90, 600, 440);
}

TEST(TesselWindowPaths, OpensInTheNormalStateWhateverTheShowCommand) {
  struct Case {
    WORD show;
    const char* name;
  } cases[] = {
      {SW_HIDE, "SW_HIDE"},
      {SW_SHOWMINIMIZED, "SW_SHOWMINIMIZED"},
      {SW_MINIMIZE, "SW_MINIMIZE"},
      {SW_SHOWMINNOACTIVE, "SW_SHOWMINNOACTIVE"},
      {SW_SHOWMAXIMIZED, "SW_SHOWMAXIMIZED"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenameSettings in = StoredRecord(150, 80, 600, 450);
    Tessel t;
    ASSERT_NO_FATAL_FAILURE(t.Prepare("show", &in));
    ASSERT_NO_FATAL_FAILURE(StartSessionShown(t, c.show));
    // The clock's first tick comes from the message loop, which runs only
    // after the window has been shown.
    ASSERT_TRUE(WaitUntil(
        [&] {
          std::vector<std::string> parts = StatusBarTexts(t.Status);
          return parts.size() == 2 && !parts[1].empty();
        },
        kEventWait));
    EXPECT_TRUE(IsWindowVisible(t.Main));
    EXPECT_FALSE(IsIconic(t.Main));
    EXPECT_FALSE(IsZoomed(t.Main));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ASSERT_TRUE(GetWindowPlacement(t.Main, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(placement.rcNormalPosition.left, 150);
    EXPECT_EQ(placement.rcNormalPosition.top, 80);
    EXPECT_EQ(placement.rcNormalPosition.right, 750);
    EXPECT_EQ(placement.rcNormalPosition.bottom, 530);
    ExpectRect(WindowRect(t.Main), 150, 80, 600, 450);
    ASSERT_NO_FATAL_FAILURE(t.Quit());
    ExpectStoredRect(t.ReadIni(), 150, 80, 600, 450);
  }
}

TEST(TesselWindowPaths, MinimisedWindowKeepsTheLastNormalRectangle) {
  RenameSettings in = StoredRecord(120, 60, 640, 480);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("minimised", &in));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  // The rectangle is taken at a save in the normal state.
  ASSERT_NO_FATAL_FAILURE(MoveMain(t, 80, 40, 660, 490));
  EXPECT_EQ(QueryEndSession(t, 0), TRUE);
  ExpectStoredRect(t.ReadIni(), 80, 40, 660, 490);

  // Moved again, then minimised with the caption bar's button: neither the
  // newer normal rectangle nor the minimised one is taken while minimised.
  ASSERT_NO_FATAL_FAILURE(MoveMain(t, 30, 20, 700, 500));
  PostMessageA(t.Main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(t.Main) != FALSE; }, kEventWait));
  EXPECT_EQ(QueryEndSession(t, ENDSESSION_LOGOFF), TRUE);
  ExpectStoredRect(t.ReadIni(), 80, 40, 660, 490);

  ASSERT_NO_FATAL_FAILURE(t.Quit());
  RenameSettings expected = in;
  expected.WindowLeft = 80;
  expected.WindowTop = 40;
  expected.WindowWidth = 660;
  expected.WindowHeight = 490;
  RenameSettings out = t.ReadIni();
  EXPECT_EQ(memcmp(&out, &expected, sizeof out), 0);
  ExpectStoredRect(out, 80, 40, 660, 490);
}

TEST(TesselWindowPaths, MinimisedWithoutAnEarlierSaveKeepsTheLoadedRectangle) {
  RenameSettings in = StoredRecord(125, 65, 630, 470);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("minimised-loaded", &in));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  ASSERT_NO_FATAL_FAILURE(MoveMain(t, 40, 30, 680, 495));
  PostMessageA(t.Main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(t.Main) != FALSE; }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  RenameSettings out = t.ReadIni();
  EXPECT_EQ(memcmp(&out, &in, sizeof out), 0);
  ExpectStoredRect(out, 125, 65, 630, 470);
}

TEST(TesselWindowPaths, SessionEndQueryThatCannotOpenTheFileLogsTheOpenError) {
  // Works for root as for anyone: a handle without sharing, and a folder.
  enum class Block { HeldWithoutSharing, FolderInItsPlace };
  for (Block block : {Block::HeldWithoutSharing, Block::FolderInItsPlace}) {
    SCOPED_TRACE(block == Block::HeldWithoutSharing ? "held" : "folder");
    RenameSettings in = StoredRecord(130, 95, 615, 455);
    Tessel t;
    ASSERT_NO_FATAL_FAILURE(t.Prepare("endsession", &in));
    ASSERT_NO_FATAL_FAILURE(t.Start());
    ASSERT_NO_FATAL_FAILURE(MoveMain(t, 70, 45, 630, 470));

    HANDLE held = INVALID_HANDLE_VALUE;
    if (block == Block::HeldWithoutSharing) {
      held = CreateFileA(t.Ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    } else {
      ASSERT_TRUE(DeleteFileA(t.Ini.c_str()));
      ASSERT_TRUE(CreateDirectoryA(t.Ini.c_str(), nullptr));
    }
    // Log-off and shut-down: each query logs the row and lets the session end.
    EXPECT_EQ(QueryEndSession(t, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(QueryEndSession(t, 0), TRUE);
    EXPECT_EQ(VisibleDialogs(t.Pid()), 0) << "a session-end query shows no box";
    std::vector<ListRow> rows = t.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Text, kHintRow);
    for (int i = 1; i < 3; ++i) {
      EXPECT_EQ(rows[i].Class, 'E');
      EXPECT_EQ(rows[i].Text, kOpenErrorRow);
    }
    EXPECT_TRUE(IsWindow(t.Main));

    // Once the file can be written again, the record in memory is saved whole.
    if (held != INVALID_HANDLE_VALUE) {
      std::vector<unsigned char> bytes(sizeof in);
      DWORD got = 0;
      ASSERT_TRUE(ReadFile(held, bytes.data(), sizeof in, &got, nullptr));
      EXPECT_EQ(got, sizeof in);
      EXPECT_EQ(memcmp(bytes.data(), &in, sizeof in), 0) << "the file on disk is not updated";
      CloseHandle(held);
    } else {
      ASSERT_TRUE(RemoveDirectoryA(t.Ini.c_str()));
    }
    ASSERT_NO_FATAL_FAILURE(t.Quit());
    RenameSettings expected = in;
    expected.WindowLeft = 70;
    expected.WindowTop = 45;
    expected.WindowWidth = 630;
    expected.WindowHeight = 470;
    RenameSettings out = t.ReadIni();
    EXPECT_EQ(memcmp(&out, &expected, sizeof out), 0);
  }
}

TEST(TesselWindowPaths, WriteThatFailsIsReportedByTheBoxAtExitOnly) {
  RenameSettings in = StoredRecord(100, 85, 605, 445);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("fullmedium", &in));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  ExpectRect(WindowRect(t.Main), 100, 85, 605, 445);
  // Tessel.ini becomes the device that takes no bytes: it opens for writing
  // like any file, and every write fails as on a full disk.
  ASSERT_TRUE(DeleteFileA(t.Ini.c_str()));
  ASSERT_TRUE(MakeUnixLink("/dev/full", t.Ini)) << "no Unix link under this Wine";
  HANDLE probe = CreateFileA(t.Ini.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(probe, INVALID_HANDLE_VALUE);
  char byte = 0;
  DWORD written = 0;
  EXPECT_FALSE(WriteFile(probe, &byte, 1, &written, nullptr));
  CloseHandle(probe);

  // At a session-end query: no row, no box, the session may end.
  EXPECT_EQ(QueryEndSession(t, ENDSESSION_LOGOFF), TRUE);
  EXPECT_EQ(VisibleDialogs(t.Pid()), 0);
  ASSERT_EQ(t.Rows().size(), 1u);

  // At exit: the box, still no row, and the program ends.
  PostCommand(t.Main, 123);
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(t.Pid(), kEventWait, box));
  EXPECT_EQ(box.Caption, kSaveFailedCaption);
  EXPECT_EQ(box.Text, kSaveFailedText);
  std::vector<ListRow> rows = t.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Text, kHintRow);
  EXPECT_EQ(StatusBarTexts(t.Status)[0], kEndingNotice);
  AnswerMessageBox(box, IDOK);
  DWORD code = 12345;
  ASSERT_TRUE(WaitForExit(t.Run, kEventWait, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(RemoveUnixLink(t.Ini));
}

}  // namespace
