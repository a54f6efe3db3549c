// Helpers of the main window path tests, beside the driver: a start with a
// show command, Alt+key input, the status bar's part edges, and Unix links
// made through Wine (a Tessel.ini that is the full device /dev/full).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/win_checks.h"
#include "e2e/driver.h"
#include "e2e/tessel_session.h"

namespace e2e {

// Starts exePath like StartProgram, with STARTF_USESHOWWINDOW and the given
// show command in its start-up information (as a shortcut set to "minimised"
// or a launcher that hides its child does).
inline bool StartProgramShown(Program& program, const std::string& exePath, WORD showCommand) {
  program.Path = exePath;
  std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
  std::string commandLine = "\"" + exePath + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand;
  // A start can fail for a moment under load: tried again for up to 10 s.
  int attempt = 0;
  return WaitUntil(
      [&] {
        if (CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           folder.c_str(), &startup, &program.Process)) {
          return true;
        }
        fprintf(stderr, "StartProgramShown %s: error %lu (attempt %d)\n", exePath.c_str(),
                GetLastError(), attempt++);
        return false;
      },
      kEventWait);
}

// Presses and releases a key with Alt held, as the keyboard delivers it to
// the focused window: WM_SYSKEYDOWN / WM_SYSKEYUP with the context bit set,
// posted through the program's own message loop.
inline void PressAltKey(HWND window, WPARAM virtualKey) {
  UINT altScan = MapVirtualKeyA(VK_MENU, 0);
  UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
  const LPARAM altDown = 1u << 29;  // KF_ALTDOWN in the high word
  PostMessageA(window, WM_SYSKEYDOWN, VK_MENU, 1 | (altScan << 16) | altDown);
  PostMessageA(window, WM_SYSKEYDOWN, virtualKey, 1 | (scan << 16) | altDown);
  PostMessageA(window, WM_SYSKEYUP, virtualKey, 1 | (scan << 16) | altDown | (3u << 30));
  PostMessageA(window, WM_KEYUP, VK_MENU, 1 | (altScan << 16) | (3u << 30));
}

// Polls `done` without taking this thread's messages: Wine handles the X
// focus changes of this process's windows inside its message pump, and one
// that comes late can hand the foreground to the desktop.
inline bool WaitWithoutPumping(const std::function<bool()>& done, DWORD timeoutMs) {
  WaitScope scope(static_cast<int>(timeoutMs));
  DWORD start = GetTickCount();
  for (;;) {
    unsigned before = WaitScope::Unanswered();
    // A round in which the program left a read unanswered is "not yet".
    if (done() && WaitScope::Unanswered() == before) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, 0);
  }
}

// Whether a window of another program than `processId` is in front (no
// window in front, as while the foreground window goes, is not that).
inline bool OtherProgramInFront(DWORD processId) {
  HWND front = GetForegroundWindow();
  DWORD owner = 0;
  if (front != nullptr) GetWindowThreadProcessId(front, &owner);
  return front != nullptr && owner != processId;
}

// Makes a window of another process the foreground window, so that typed
// keys go to it; true once it is.
inline bool BringToFront(HWND window) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
      },
      kEventWait);
}

// Types a key with Alt held through the system's input queue (SendInput):
// it goes to the foreground window as from the keyboard.
inline bool TypeAltKey(WORD virtualKey) {
  INPUT keys[4] = {};
  WORD order[4] = {VK_MENU, virtualKey, virtualKey, VK_MENU};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(order[i], 0));
    if (i >= 2) keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  return SendInput(4, keys, sizeof(INPUT)) == 4;
}

// Types Alt+key to `window` until `effect` holds. The keys go to whatever is
// in front when they are read; when another program has come in front
// before the effect came (under Wine the X focus can hand it to the
// desktop), they are typed again. False when the program kept the
// foreground and the effect did not come.
inline bool TypeAltKeyUntil(HWND window, WORD virtualKey, const std::function<bool()>& effect) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  for (int attempt = 0; attempt < 5; ++attempt) {
    // A window that has gone took its keys: what they do is on its way.
    if (!IsWindow(window)) return WaitWithoutPumping(effect, kEventWait);
    if (!BringToFront(window)) return effect();
    if (!TypeAltKey(virtualKey)) return false;
    // Over when the effect came or another program took the foreground (a
    // window on its way out gives it away first: that is not taken).
    bool over = WaitWithoutPumping(
        [&] {
          return effect() || (OtherProgramInFront(processId) && IsWindowVisible(window));
        },
        kEventWait);
    if (!over) return false;
    // Keys that did arrive show their effect soon after; a window hidden on
    // its way out shows they did, however slowly the effect follows.
    if (WaitWithoutPumping(effect, 1000)) return true;
    if (!IsWindowVisible(window)) return WaitWithoutPumping(effect, kEventWait);
  }
  return false;
}

// A visible message box of the process, as WaitForMessageBox finds one (its
// text in the static control 0xFFFF), looked for once.
inline bool MessageBoxShown(DWORD processId) {
  HWND box = FindTopWindow(processId, "#32770");
  return box != nullptr && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF) != nullptr;
}

// The right edges of a status bar's parts (SB_GETPARTS) in another process.
inline std::vector<int> StatusBarEdges(HWND statusBar) {
  std::vector<int> edges;
  const int kMaxParts = 16;
  // SB_GETPARTS writes into memory of the bar's own process.
  DWORD pid = 0;
  GetWindowThreadProcessId(statusBar, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return edges;
  void* remote = VirtualAllocEx(process, nullptr, kMaxParts * sizeof(int),
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote != nullptr) {
    LRESULT parts = 0;
    Ask(statusBar, SB_GETPARTS, kMaxParts, reinterpret_cast<LPARAM>(remote), "SB_GETPARTS",
        &parts);
    if (parts > 0 && parts <= kMaxParts) {
      edges.resize(parts);
      SIZE_T done = 0;
      if (!ReadProcessMemory(process, remote, edges.data(), parts * sizeof(int), &done) ||
          done != parts * sizeof(int)) {
        edges.clear();
      }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return edges;
}

// Starts a Unix program of the host (Wine starts native executables too).
// Wine reports neither its end nor its exit code: judge it by its effect.
inline bool StartUnixProgram(const std::string& commandLine) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    fprintf(stderr, "StartUnixProgram %s: error %lu\n", commandLine.c_str(), GetLastError());
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

namespace window_paths_detail {

// The Unix path of a file that may not exist yet: Wine maps only paths that
// exist, so the folder's, then the name. "" when it cannot be quoted.
inline std::string UnixPathOfName(const std::string& windowsPath) {
  size_t cut = windowsPath.find_last_of('\\');
  if (cut == std::string::npos) return "";
  std::string folder = WineUnixPath(windowsPath.substr(0, cut));
  if (folder.empty()) return "";
  std::string path = folder + "/" + windowsPath.substr(cut + 1);
  return path.find('"') == std::string::npos ? path : "";
}

// Wine gives no attributes for a device: opening the name tells whether the
// link is there.
inline bool NameOpens(const std::string& windowsPath) {
  HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace window_paths_detail

// Makes `windowsPath` a Unix symbolic link to `unixTarget` (e.g. /dev/full,
// a device that takes no bytes: every write fails as on a full disk).
inline bool MakeUnixLink(const std::string& unixTarget, const std::string& windowsPath) {
  std::string link = window_paths_detail::UnixPathOfName(windowsPath);
  if (link.empty()) return false;
  // The command line is split by the Windows rules: double quotes group.
  if (!StartUnixProgram("/bin/ln -s \"" + unixTarget + "\" \"" + link + "\"")) return false;
  return WaitUntil([&] { return window_paths_detail::NameOpens(windowsPath); }, kEventWait);
}

// Removes such a link (Wine's DeleteFile does not remove a link to a device).
inline bool RemoveUnixLink(const std::string& windowsPath) {
  std::string link = window_paths_detail::UnixPathOfName(windowsPath);
  if (link.empty()) return false;
  if (!StartUnixProgram("/bin/rm -f \"" + link + "\"")) return false;
  return WaitUntil([&] { return !window_paths_detail::NameOpens(windowsPath); }, kEventWait);
}

// Like TesselSession::Start, with a show command in the start-up information.
inline void StartSessionShown(TesselSession& t, WORD showCommand) {
  ASSERT_TRUE(StartProgramShown(t.Run, t.Exe, showCommand));
  t.Main = WaitForRunningWindow(t.Pid(), "TesselClass", kEventWait);
  ASSERT_NE(t.Main, nullptr);
  ASSERT_TRUE(WaitUntil(
      [&] {
        t.List = Child(t.Main, 2);
        return t.List != nullptr && ListRowCount(t.List) > 0;
      },
      kEventWait));
  t.Status = Child(t.Main, 5);
  ASSERT_NE(t.Status, nullptr);
}

}  // namespace e2e
