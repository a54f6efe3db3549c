// Drives our real programs from outside, the way a user does: start the
// program from a fresh folder, find its windows, read what they show, click,
// answer message boxes, and look at the files it leaves. Runs under wine64.
// Texts are Shift-JIS, as the programs' ANSI windows give them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// --- Files and folders -----------------------------------------------------

// The folder holding this test program (and the programs under test).
std::string BinFolder();
// A new empty folder under %TEMP%\tessel-e2e, unique per call.
std::string MakeFreshFolder(const char* tag);
// Copies bin\<exeName> into folder; returns the copy's full path or "".
std::string CopyProgram(const std::string& folder, const char* exeName);
bool ReadFileBytes(const std::string& path, std::vector<unsigned char>& bytes);
bool WriteFileBytes(const std::string& path, const void* data, size_t size);
bool FileExists(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);

// --- Processes -------------------------------------------------------------

struct Program {
  PROCESS_INFORMATION Process = {};
  std::string Path;
};

// Starts exePath with its own folder as working directory (and `arguments`
// after its quoted path, if given).
bool StartProgram(Program& program, const std::string& exePath, const char* arguments = nullptr);
// Waits for the process to end; false on timeout. exitCode may be null.
bool WaitForExit(Program& program, int timeoutMs, DWORD* exitCode);
// Ends the process if it still runs and closes the handles.
void EndProgram(Program& program);

// --- Asking another process ------------------------------------------------

// How long a program has to answer one read or send.
const int kAnswerWait = 15000;
// How long a test waits for something the program does (a window, a dialog,
// a box, a row, its end). Such a wait ends at the event; the time is for the
// emulated 32-bit PC under load, where a file chooser can take 10 s to come.
const int kEventWait = 30000;

// Sends a message to a window of another process and waits for the answer
// (SMTO_NORMAL), trying again while the window lives, up to kAnswerWait.
// False when the program did not answer. Inside a wait (WaitUntil,
// WaitScope) that makes the round "not yet"; anywhere else the case fails,
// with a message naming the window and `what` (the message's name).
bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what,
         LRESULT* answer = nullptr);
// Waits until the thread of `window` takes a sent WM_NULL: its message loop
// runs. Every started program is waited for this way before it is read.
bool WaitForAnswer(HWND window, int timeoutMs = kAnswerWait);

// --- Waiting ---------------------------------------------------------------

// Marks the time of a wait: a read that goes unanswered meanwhile is "not
// yet", not a failure, and waits for its answer no longer than the wait has
// left (at least a second). Unanswered() counts unanswered reads, so that a
// wait can tell a round whose reads all answered.
struct WaitScope {
  explicit WaitScope(int timeoutMs);
  ~WaitScope();
  int OuterDepth;
  DWORD OuterDeadline;
  static unsigned Unanswered();
};

// Polls `done` (pumping this thread's messages) until it holds or time runs
// out. A round in which a read went unanswered does not count as done.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

// --- Windows ---------------------------------------------------------------

// A visible or hidden top-level window of the process with this class
// (and, if given, this caption).
HWND FindTopWindow(DWORD processId, const char* className, const char* caption = nullptr);
HWND WaitForTopWindow(DWORD processId, const char* className, int timeoutMs,
                      const char* caption = nullptr);
// The process's top-level window of this class, once its message loop
// answers (a window can exist, even be shown, before the program's first
// GetMessage). Null, with the reason on stderr, when not within timeoutMs.
HWND WaitForRunningWindow(DWORD processId, const char* className, int timeoutMs);
// Dialog boxes (class #32770) of the process, message boxes included.
HWND WaitForDialog(DWORD processId, const char* caption, int timeoutMs);
// A window's text (WM_GETTEXT). Unanswered: "<no answer to WM_GETTEXT>",
// which no window shows, and the case fails outside a wait.
std::string WindowText(HWND window);
// The same, for searches: false when the program did not answer in time.
bool TryWindowText(HWND window, std::string& text, int timeoutMs);
std::string ClassName(HWND window);
// A control's text; "<no control>" when the dialog has no such control.
std::string ItemText(HWND dialog, int id);
RECT WindowRect(HWND window);
// The window of the process's GUI thread that has the keyboard focus.
HWND FocusWindow(DWORD threadId);
// Children of a window with the given control id (direct children only).
HWND Child(HWND parent, int id);

// Posts a command, as a menu choice or an accelerator does (never blocks).
void PostCommand(HWND window, int id);
// Clicks a button without waiting for what the click opens.
void ClickButton(HWND dialog, int id);
// Sets an edit's or combo box's text (the owner sees it as typed); false
// when the control is missing or the program did not answer.
bool SetItemText(HWND dialog, int id, const char* text);
// Sends a key press and release to a window (WM_KEYDOWN/WM_KEYUP posted).
void PressKey(HWND window, WPARAM virtualKey);

// --- Message boxes ---------------------------------------------------------

struct MessageBoxSeen {
  HWND Window = nullptr;
  std::string Caption;
  std::string Text;
};
// Waits for a message box of the process and reads its caption and text.
bool WaitForMessageBox(DWORD processId, int timeoutMs, MessageBoxSeen& seen,
                       const char* caption = nullptr);
// Answers it with the button of that id (IDOK, IDYES, IDNO, IDCANCEL...).
void AnswerMessageBox(const MessageBoxSeen& seen, int buttonId);

// --- Controls of another process (memory inside that process) -------------

struct ListRow {
  int Class = 0;  // low byte of the item data, as a signed character
  std::string Text;
};
std::vector<ListRow> ReadListRows(HWND listView);
int ListRowCount(HWND listView);
// The width in pixels of a text in a list view's own font (LVM_GETSTRINGWIDTHA).
int ListStringWidth(HWND listView, const char* text);
std::vector<std::string> StatusBarTexts(HWND statusBar);

// --- Menus (read from the executable's resources: Wine cannot read another
// process's live menu) ------------------------------------------------------

struct MenuEntry {
  int Depth = 0;       // 0 on the bar, 1 in a drop-down
  int Id = 0;          // command id; 0 for drop-downs and separators
  bool Popup = false;
  bool Separator = false;
  std::string Text;
};
std::vector<MenuEntry> ReadMenuResource(const std::string& exePath, int menuId);

}  // namespace e2e

// --- Conditions dialog helpers (added with the conditions dialog tests) -----
namespace e2e {

// Answers the open-file chooser of the process (caption `caption`) the way a
// user does: types the full path into its file-name box (control 0x47C, a
// ComboBoxEx32 with an edit) and clicks Open. True when the chooser appeared
// and went away.
bool ChooseFileInOpenDialog(DWORD processId, const char* caption, const std::string& path,
                            int timeoutMs);
// BM_GETCHECK of a button of another process (unanswered: false, and the
// case fails outside a wait).
bool IsButtonChecked(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);
// The control id of a window (0 for none), e.g. of FocusWindow's answer.
int ControlId(HWND window);
// A row's rectangle in a list view of another process (LVM_GETITEMRECT).
bool ListItemRect(HWND listView, int index, RECT& rect);
// Presses and releases the left mouse button at a point of a window's client
// area (messages posted, so a dialog it opens never blocks the test).
void ClickAt(HWND window, int x, int y);

}  // namespace e2e
