// Drives a modal dialog of this process from a second thread: the test's
// thread runs the dialog, the driver thread waits for it, reads it and
// clicks it, as a user would. Used by the conditions dialog tests.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace dialog_test {

// How long a wait for something that must happen gives it: each such wait
// ends as soon as it happens, so only a fault ever waits this long, and the
// emulated 32-bit PC, many times slower than this machine, still gets there.
const int kEventWaitMs = 30000;

struct FindDialog {
  const char* Caption;
  HWND Found;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  FindDialog* find = reinterpret_cast<FindDialog*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char cls[16] = "";
  char caption[128] = "";
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, caption, sizeof caption);
  if (process == GetCurrentProcessId() && lstrcmpA(cls, "#32770") == 0 &&
      lstrcmpA(caption, find->Caption) == 0 && IsWindowVisible(window)) {
    find->Found = window;
    return FALSE;
  }
  return TRUE;
}

inline HWND WaitForDialog(const char* caption, int timeoutMs = kEventWaitMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    FindDialog find = {caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&find));
    if (find.Found != nullptr) return find.Found;
    Sleep(20);
  }
  return nullptr;
}

inline bool WaitGone(HWND window, int timeoutMs = kEventWaitMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    if (!IsWindow(window)) return true;
    Sleep(20);
  }
  return false;
}

inline std::string Text(HWND dialog, int id) {
  char text[512] = "";
  SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

inline bool Checked(HWND dialog, int id) {
  return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline void Click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The same click, sent: returns once the dialog has handled it, so its effect
// can be checked at once. Never for a button that opens a modal dialog.
inline void ClickNow(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Waits until the control's text is `expected` (true) or the time is up.
inline bool WaitForText(HWND dialog, int id, const std::string& expected,
                        DWORD ms = kEventWaitMs) {
  DWORD start = GetTickCount();
  for (;;) {
    char text[512] = "";
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (expected == text) return true;
    if (GetTickCount() - start > ms) return false;
    Sleep(10);
  }
}

// Waits until `done` holds (true) or the time is up.
inline bool WaitFor(const std::function<bool()>& done, DWORD ms = kEventWaitMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start > ms) return done();
    Sleep(10);
  }
}

// Answers the file chooser of this process (caption "ファイルの選択") as a
// user does: the full path typed into its name box (0x47C), then Open.
// True when the chooser appeared and went away.
inline bool ChooseInChooser(const std::string& path, int timeoutMs = kEventWaitMs) {
  HWND chooser = WaitForDialog("ファイルの選択", timeoutMs);
  if (chooser == nullptr) return false;
  HWND nameBox = nullptr;
  if (!WaitFor([&] { return (nameBox = GetDlgItem(chooser, 0x47C)) != nullptr; }, timeoutMs))
    return false;
  SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  Click(chooser, IDOK);
  return WaitGone(chooser, timeoutMs);
}

// A click posted on the check box 1429 of the conditions dialog, waited for
// until its tick has turned: everything posted to the dialog before it has
// been handled (a modal box it opened would still be open then).
inline bool ToggleMarker(HWND dialog) {
  bool ticked = SendMessageA(GetDlgItem(dialog, 1429), BM_GETCHECK, 0, 0) == BST_CHECKED;
  Click(dialog, 1429);
  return WaitFor([&] {
    return (SendMessageA(GetDlgItem(dialog, 1429), BM_GETCHECK, 0, 0) == BST_CHECKED) != ticked;
  });
}

// A marker posted behind the messages already posted to a dialog's thread:
// the width of column 0 of a list view, which the list sets when it takes the
// message. Once the width is seen, everything posted before it has been
// handled, so a check that nothing happened can be made.
inline bool PostListMarker(HWND list, int width) {
  return PostMessageA(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width, 0)) != 0;
}
inline bool WaitForListMarker(HWND list, int width, DWORD ms = kEventWaitMs) {
  return WaitFor(
      [&] { return SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) == width; }, ms);
}

// The visible dialogs of this process that take input: the innermost of a
// stack of modal dialogs, and message boxes.
inline BOOL CALLBACK CollectOpenDialog(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char cls[16] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (process == GetCurrentProcessId() && lstrcmpA(cls, "#32770") == 0 &&
      IsWindowVisible(window) && IsWindowEnabled(window))
    *reinterpret_cast<HWND*>(param) = window;
  return TRUE;
}

// Ends every dialog of this process that is still open, the innermost first,
// with Cancel, as a user would. Returns how many it had to end. A dialog left
// open would keep the test waiting in `run` to the program's time limit, so
// each gets 10 s to go, and all of them a minute.
inline int CloseLeftDialogs(DWORD ms = 60000) {
  int ended = 0;
  DWORD start = GetTickCount();
  for (;;) {
    HWND open = nullptr;
    EnumWindows(CollectOpenDialog, reinterpret_cast<LPARAM>(&open));
    if (open == nullptr || GetTickCount() - start > ms) return ended;
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ended += 1;
    WaitGone(open, 10000);
  }
}

// Runs `drive` on a second thread while `run` (which shows a modal dialog)
// runs on this one. Returns run's result. A driver that gives up early (a
// failed expectation) leaves its dialogs open: they are then ended with
// Cancel, so the test fails instead of waiting forever in `run`.
struct DriverThread {
  std::function<void()> Drive;
  int LeftOpen;
  static DWORD WINAPI Main(void* param) {
    DriverThread* driver = static_cast<DriverThread*>(param);
    driver->Drive();
    driver->LeftOpen = CloseLeftDialogs();
    return 0;
  }
};

inline INT_PTR RunDriven(const std::function<INT_PTR()>& run, const std::function<void()>& drive) {
  DriverThread driver{drive, 0};
  HANDLE thread = CreateThread(nullptr, 0, DriverThread::Main, &driver, 0, nullptr);
  INT_PTR result = run();
  // Waited for to its end: it uses this frame and the test's own variables,
  // and every wait it makes has its deadline, so it ends.
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  CloseHandle(thread);
  EXPECT_EQ(driver.LeftOpen, 0) << "the driver left a dialog open";
  return result;
}

}  // namespace dialog_test
