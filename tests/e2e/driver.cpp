#include "e2e/driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace e2e {

// --- Files and folders -----------------------------------------------------

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string BinFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p(path);
  size_t cut = p.find_last_of('\\');
  return cut == std::string::npos ? p : p.substr(0, cut);
}

std::string MakeFreshFolder(const char* tag) {
  static int counter = 0;
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  std::string root = JoinPath(temp, "tessel-e2e");
  CreateDirectoryA(root.c_str(), nullptr);
  for (;;) {
    std::string folder = JoinPath(root, std::string(tag) + "-" +
                                            std::to_string(GetCurrentProcessId()) + "-" +
                                            std::to_string(++counter));
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
}

std::string CopyProgram(const std::string& folder, const char* exeName) {
  std::string target = JoinPath(folder, exeName);
  if (!CopyFileA(JoinPath(BinFolder(), exeName).c_str(), target.c_str(), FALSE)) return "";
  return target;
}

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>& bytes) {
  bytes.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  bytes.resize(size);
  DWORD got = 0;
  bool ok = size == 0 || (ReadFile(file, bytes.data(), size, &got, nullptr) && got == size);
  CloseHandle(file);
  return ok;
}

bool WriteFileBytes(const std::string& path, const void* data, size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// --- Processes -------------------------------------------------------------

bool StartProgram(Program& program, const std::string& exePath, const char* arguments) {
  program.Path = exePath;
  std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
  std::string commandLine = "\"" + exePath + "\"";
  if (arguments != nullptr) commandLine += std::string(" ") + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  // A start can fail for a moment (the fresh copy still held, the server
  // busy under load): it is tried again until it succeeds or 10 s are gone.
  int attempt = 0;
  DWORD lastError = 0;
  return WaitUntil(
      [&] {
        if (CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           folder.c_str(), &startup, &program.Process)) {
          return true;
        }
        DWORD error = GetLastError();
        if (attempt == 0 || error != lastError) {
          fprintf(stderr, "StartProgram %s: error %lu (attempt %d)\n", exePath.c_str(), error,
                  attempt);
        }
        lastError = error;
        attempt += 1;
        return false;
      },
      10000);
}

bool WaitForExit(Program& program, int timeoutMs, DWORD* exitCode) {
  if (program.Process.hProcess == nullptr) return false;
  if (WaitForSingleObject(program.Process.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode != nullptr) GetExitCodeProcess(program.Process.hProcess, exitCode);
  return true;
}

void EndProgram(Program& program) {
  if (program.Process.hProcess == nullptr) return;
  if (WaitForSingleObject(program.Process.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(program.Process.hProcess, 99);
    WaitForSingleObject(program.Process.hProcess, 5000);
  }
  CloseHandle(program.Process.hThread);
  CloseHandle(program.Process.hProcess);
  program.Process = {};
}

// --- Waiting ---------------------------------------------------------------

namespace {

int WaitDepth = 0;
DWORD WaitDeadline = 0;  // GetTickCount at which the innermost wait ends
unsigned UnansweredReads = 0;
std::string LastNoAnswer;

// "window 0x1234 (class Button, id 1429, process 56)": what a failure names.
// Nothing here asks the window itself.
std::string Describe(HWND window) {
  char text[160];
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  snprintf(text, sizeof text, "window %p (class %s, id %d, process %lu%s)",
           static_cast<void*>(window), ClassName(window).c_str(),
           window != nullptr ? GetDlgCtrlID(window) : 0, pid,
           IsWindow(window) ? "" : ", gone");
  return text;
}

void NoAnswer(HWND window, const char* what) {
  UnansweredReads += 1;
  LastNoAnswer = std::string("no answer to ") + what + " from " + Describe(window);
  if (WaitDepth == 0) ADD_FAILURE() << LastNoAnswer;
}

}  // namespace

WaitScope::WaitScope(int timeoutMs) : OuterDepth(WaitDepth), OuterDeadline(WaitDeadline) {
  WaitDepth += 1;
  WaitDeadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
}
WaitScope::~WaitScope() {
  WaitDepth = OuterDepth;
  WaitDeadline = OuterDeadline;
}
unsigned WaitScope::Unanswered() { return UnansweredReads; }

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  WaitScope scope(timeoutMs);
  DWORD start = GetTickCount();
  for (;;) {
    unsigned before = UnansweredReads;
    bool held = done();
    bool quiet = UnansweredReads == before;  // every read of the round answered
    if (held && quiet) return true;
    // The last look is always taken after the time is up.
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) {
      if (!quiet) fprintf(stderr, "wait ran out: %s\n", LastNoAnswer.c_str());
      return false;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // The next look at most 20 ms on, at once when a message comes in.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// --- Asking another process ------------------------------------------------

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what,
         LRESULT* answer) {
  DWORD start = GetTickCount();
  int patience = kAnswerWait;
  if (WaitDepth > 0) {
    int waitLeft = static_cast<int>(WaitDeadline - start);
    patience = waitLeft < 1000 ? 1000 : waitLeft < kAnswerWait ? waitLeft : kAnswerWait;
  }
  for (;;) {
    int left = patience - static_cast<int>(GetTickCount() - start);
    if (left <= 0 || !IsWindow(window)) break;
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL,
                            static_cast<UINT>(left), &result)) {
      if (answer != nullptr) *answer = static_cast<LRESULT>(result);
      return true;
    }
    // Refused before the time was up (the thread still starting, or the
    // server busy): asked again a moment later.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, 0);
  }
  NoAnswer(window, what);
  return false;
}

bool WaitForAnswer(HWND window, int timeoutMs) {
  return WaitUntil([&] { return Ask(window, WM_NULL, 0, 0, "WM_NULL"); }, timeoutMs);
}

// --- Windows ---------------------------------------------------------------

namespace {

struct TopSearch {
  DWORD ProcessId;
  const char* ClassName;
  const char* Caption;
  HWND Found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param) {
  TopSearch* search = reinterpret_cast<TopSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->ProcessId) return TRUE;
  if (ClassName(window) != search->ClassName) return TRUE;
  if (search->Caption != nullptr) {
    // A window whose program does not answer yet is not the one searched for yet.
    std::string text;
    if (!TryWindowText(window, text, 1000) || text != search->Caption) return TRUE;
  }
  search->Found = window;
  return FALSE;
}

}  // namespace

HWND FindTopWindow(DWORD processId, const char* className, const char* caption) {
  TopSearch search = {processId, className, caption, nullptr};
  EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND WaitForTopWindow(DWORD processId, const char* className, int timeoutMs,
                      const char* caption) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(processId, className, caption)) != nullptr; },
            timeoutMs);
  return found;
}

HWND WaitForRunningWindow(DWORD processId, const char* className, int timeoutMs) {
  DWORD start = GetTickCount();
  HWND window = WaitForTopWindow(processId, className, timeoutMs);
  if (window == nullptr) {
    fprintf(stderr, "no %s window of process %lu\n", className, processId);
    return nullptr;
  }
  int left = timeoutMs - static_cast<int>(GetTickCount() - start);
  if (!WaitForAnswer(window, left > kAnswerWait ? left : kAnswerWait)) {
    fprintf(stderr, "the %s window's message loop never answered\n", className);
    return nullptr;
  }
  return window;
}

HWND WaitForDialog(DWORD processId, const char* caption, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindTopWindow(processId, "#32770", caption);
        return found != nullptr && IsWindowVisible(found);
      },
      timeoutMs);
  return (found != nullptr && IsWindowVisible(found)) ? found : nullptr;
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  // WM_GETTEXT crosses processes; GetWindowText would not read a control's text.
  if (!Ask(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), "WM_GETTEXT")) {
    return "<no answer to WM_GETTEXT>";
  }
  text[sizeof text - 1] = '\0';
  return text;
}

bool TryWindowText(HWND window, std::string& text, int timeoutMs) {
  char buffer[1024] = "";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_NORMAL, static_cast<UINT>(timeoutMs), &length)) {
    return false;
  }
  buffer[sizeof buffer - 1] = '\0';
  text = buffer;
  return true;
}

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND Child(HWND parent, int id) { return GetDlgItem(parent, id); }

std::string ItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item == nullptr ? std::string("<no control>") : WindowText(item);
}

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

HWND FocusWindow(DWORD threadId) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(threadId, &info)) return nullptr;
  return info.hwndFocus;
}

void PostCommand(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void ClickButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  // A disabled button cannot be clicked by a user either.
  if (button != nullptr && !IsWindowEnabled(button)) return;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool SetItemText(HWND dialog, int id, const char* text) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) {
    ADD_FAILURE() << "no control " << id << " to type into";
    return false;
  }
  return Ask(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), "WM_SETTEXT");
}

void PressKey(HWND window, WPARAM virtualKey) {
  UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

// --- Message boxes ---------------------------------------------------------

bool WaitForMessageBox(DWORD processId, int timeoutMs, MessageBoxSeen& seen,
                       const char* caption) {
  seen = MessageBoxSeen();
  bool found = WaitUntil(
      [&] {
        HWND box = FindTopWindow(processId, "#32770", caption);
        // A message box shows its text in the static control 0xFFFF.
        if (box == nullptr || !IsWindowVisible(box) || GetDlgItem(box, 0xFFFF) == nullptr) {
          return false;
        }
        seen.Window = box;
        return true;
      },
      timeoutMs);
  if (!found) return false;
  seen.Caption = WindowText(seen.Window);
  seen.Text = ItemText(seen.Window, 0xFFFF);
  return true;
}

void AnswerMessageBox(const MessageBoxSeen& seen, int buttonId) {
  ClickButton(seen.Window, buttonId);
}

// --- Controls of another process ------------------------------------------

namespace {

// A block of memory inside the process that owns a window.
struct RemoteBlock {
  HANDLE Process = nullptr;
  char* Address = nullptr;

  RemoteBlock(HWND window, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    Process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (Process != nullptr) {
      Address = static_cast<char*>(
          VirtualAllocEx(Process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~RemoteBlock() {
    if (Address != nullptr) VirtualFreeEx(Process, Address, 0, MEM_RELEASE);
    if (Process != nullptr) CloseHandle(Process);
  }
  bool Write(size_t offset, const void* data, size_t size) {
    SIZE_T done = 0;
    return WriteProcessMemory(Process, Address + offset, data, size, &done) && done == size;
  }
  bool Read(size_t offset, void* data, size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(Process, Address + offset, data, size, &done) && done == size;
  }
};

const size_t kRemoteText = 1024;

}  // namespace

int ListRowCount(HWND listView) {
  LRESULT count = -1;
  Ask(listView, LVM_GETITEMCOUNT, 0, 0, "LVM_GETITEMCOUNT", &count);
  return static_cast<int>(count);
}

std::vector<ListRow> ReadListRows(HWND listView) {
  std::vector<ListRow> rows;
  RemoteBlock block(listView, sizeof(LVITEMA) + kRemoteText);
  if (block.Address == nullptr) return rows;
  int count = ListRowCount(listView);
  for (int i = 0; i < count; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = block.Address + sizeof(LVITEMA);
    item.cchTextMax = kRemoteText;
    char text[kRemoteText] = "";
    block.Write(0, &item, sizeof item);
    block.Write(sizeof(LVITEMA), text, 1);
    // An unanswered row ends the reading: the rows before it are all there is.
    if (!Ask(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.Address), "LVM_GETITEMA")) {
      break;
    }
    block.Read(0, &item, sizeof item);
    block.Read(sizeof(LVITEMA), text, sizeof text);
    text[sizeof text - 1] = '\0';
    ListRow row;
    row.Class = static_cast<signed char>(item.lParam & 0xFF);
    row.Text = text;
    rows.push_back(row);
  }
  return rows;
}

int ListStringWidth(HWND listView, const char* text) {
  size_t size = strlen(text) + 1;
  if (size > kRemoteText) return -1;
  RemoteBlock block(listView, kRemoteText);
  if (block.Address == nullptr || !block.Write(0, text, size)) return -1;
  LRESULT width = -1;
  Ask(listView, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(block.Address),
      "LVM_GETSTRINGWIDTHA", &width);
  return static_cast<int>(width);
}

std::vector<std::string> StatusBarTexts(HWND statusBar) {
  std::vector<std::string> texts;
  RemoteBlock block(statusBar, kRemoteText);
  if (block.Address == nullptr) return texts;
  LRESULT parts = 0;
  if (!Ask(statusBar, SB_GETPARTS, 0, 0, "SB_GETPARTS", &parts)) return texts;
  for (int i = 0; i < parts; ++i) {
    char text[kRemoteText] = "";
    block.Write(0, text, 1);
    // A part left unanswered ends the list short, which no check takes for the bar.
    if (!Ask(statusBar, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(block.Address), "SB_GETTEXTA")) {
      return texts;
    }
    block.Read(0, text, sizeof text);
    text[sizeof text - 1] = '\0';
    texts.push_back(text);
  }
  return texts;
}

// --- Menus -----------------------------------------------------------------

namespace {

void WalkMenu(HMENU menu, int depth, std::vector<MenuEntry>& entries) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, i, TRUE, &info)) continue;
    MenuEntry entry;
    entry.Depth = depth;
    entry.Popup = info.hSubMenu != nullptr;
    entry.Separator = (info.fType & MFT_SEPARATOR) != 0;
    entry.Id = entry.Popup ? 0 : static_cast<int>(info.wID);
    entry.Text = text;
    entries.push_back(entry);
    if (info.hSubMenu != nullptr) WalkMenu(info.hSubMenu, depth + 1, entries);
  }
}

}  // namespace

std::vector<MenuEntry> ReadMenuResource(const std::string& exePath, int menuId) {
  std::vector<MenuEntry> entries;
  HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return entries;
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(menuId));
  if (menu != nullptr) {
    WalkMenu(menu, 0, entries);
    DestroyMenu(menu);
  }
  FreeLibrary(module);
  return entries;
}

}  // namespace e2e

// --- Conditions dialog helpers (added with the conditions dialog tests) -----
namespace e2e {

bool ChooseFileInOpenDialog(DWORD processId, const char* caption, const std::string& path,
                            int timeoutMs) {
  HWND chooser = WaitForDialog(processId, caption, timeoutMs);
  if (chooser == nullptr) return false;
  HWND nameBox = nullptr;
  if (!WaitUntil([&] { return (nameBox = GetDlgItem(chooser, 0x47C)) != nullptr; }, timeoutMs))
    return false;
  if (!SetItemText(chooser, 0x47C, path.c_str())) return false;
  ClickButton(chooser, IDOK);
  return WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }, timeoutMs);
}

bool IsButtonChecked(HWND dialog, int id) {
  LRESULT state = -1;
  Ask(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, "BM_GETCHECK", &state);
  return state == BST_CHECKED;
}

bool IsItemEnabled(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr && IsWindowEnabled(item);
}

int ControlId(HWND window) { return window == nullptr ? 0 : GetDlgCtrlID(window); }

bool ListItemRect(HWND listView, int index, RECT& rect) {
  RemoteBlock block(listView, sizeof(RECT));
  if (block.Address == nullptr) return false;
  RECT request = {};
  request.left = LVIR_BOUNDS;
  if (!block.Write(0, &request, sizeof request)) return false;
  LRESULT found = 0;
  if (!Ask(listView, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(block.Address),
           "LVM_GETITEMRECT", &found) ||
      !found) {
    return false;
  }
  return block.Read(0, &rect, sizeof rect);
}

void ClickAt(HWND window, int x, int y) {
  LPARAM point = MAKELPARAM(x, y);
  PostMessageA(window, WM_MOUSEMOVE, 0, point);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(window, WM_LBUTTONUP, 0, point);
}

}  // namespace e2e
