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

inline HWND WaitForDialog(const char* caption, int timeoutMs = 5000) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    FindDialog find = {caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&find));
    if (find.Found != nullptr) return find.Found;
    Sleep(20);
  }
  return nullptr;
}

inline bool WaitGone(HWND window, int timeoutMs = 5000) {
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
inline bool WaitForText(HWND dialog, int id, const std::string& expected, DWORD ms = 10000) {
  DWORD start = GetTickCount();
  for (;;) {
    char text[512] = "";
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (expected == text) return true;
    if (GetTickCount() - start > ms) return false;
    Sleep(10);
  }
}

// Runs `drive` on a second thread while `run` (which shows a modal dialog)
// runs on this one. Returns run's result.
struct DriverThread {
  std::function<void()> Drive;
  static DWORD WINAPI Main(void* param) {
    static_cast<DriverThread*>(param)->Drive();
    return 0;
  }
};

inline INT_PTR RunDriven(const std::function<INT_PTR()>& run, const std::function<void()>& drive) {
  DriverThread driver{drive};
  HANDLE thread = CreateThread(nullptr, 0, DriverThread::Main, &driver, 0, nullptr);
  INT_PTR result = run();
  EXPECT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
  CloseHandle(thread);
  return result;
}

}  // namespace dialog_test
