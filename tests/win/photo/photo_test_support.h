// Helpers of the photo tests under Wine: where the generated JPEG files lie,
// a scratch folder, and a watcher that captures and dismisses message boxes.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace photo_test {

// The JPEG files made at build time by scripts/make-test-photos.sh lie in
// test-photos/ beside the bin/ folder of this test program.
inline std::string PhotoPath(const char* name) {
  char exe[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string path = exe;
  path.erase(path.find_last_of('\\'));  // bin
  path.erase(path.find_last_of('\\'));  // the tree
  return path + "\\test-photos\\" + name;
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder under the temporary folder, removed with its files.
struct ScratchFolder {
  std::string Path;
  std::vector<std::string> Files;

  ScratchFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    char name[64];
    wsprintfA(name, "tessel-photo-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    Path = std::string(temp) + name;
    CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (size_t i = Files.size(); i-- > 0;) {
      if (!DeleteFileA(Files[i].c_str())) RemoveDirectoryA(Files[i].c_str());
    }
    RemoveDirectoryA(Path.c_str());
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = Path + "\\" + name;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (f != INVALID_HANDLE_VALUE) {
      if (!bytes.empty()) WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(f);
    }
    Files.push_back(path);
    return path;
  }
  std::string Copy(const std::string& from, const std::string& name) {
    std::string path = Path + "\\" + name;
    CopyFileA(from.c_str(), path.c_str(), FALSE);
    Files.push_back(path);
    return path;
  }
  std::string Folder(const std::string& name) {
    std::string path = Path + "\\" + name;
    CreateDirectoryA(path.c_str(), nullptr);
    Files.push_back(path);
    return path;
  }
};

struct CapturedBox {
  std::string Caption;
  std::string Text;
};

// Watches this process for message boxes (class #32770) from a second
// thread; records each box's caption and text (static 0xFFFF) and presses OK.
struct MessageBoxWatcher {
  CRITICAL_SECTION Lock;
  std::vector<CapturedBox> Boxes;
  volatile LONG Stop = 0;
  HANDLE Thread = nullptr;

  static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (process == GetCurrentProcessId() && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window)) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }

  static DWORD WINAPI Watch(void* param) {
    MessageBoxWatcher* self = static_cast<MessageBoxWatcher*>(param);
    HWND last = nullptr;
    while (!InterlockedCompareExchange(&self->Stop, 0, 0)) {
      if (last != nullptr && !IsWindow(last)) last = nullptr;
      HWND box = nullptr;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
      if (box != nullptr && box != last) {
        CapturedBox c;
        char text[512] = "";
        GetWindowTextA(box, text, sizeof text);
        c.Caption = text;
        text[0] = '\0';
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        c.Text = text;
        EnterCriticalSection(&self->Lock);
        self->Boxes.push_back(c);
        LeaveCriticalSection(&self->Lock);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        last = box;
      }
      Sleep(20);
    }
    return 0;
  }

  MessageBoxWatcher() {
    InitializeCriticalSection(&Lock);
    Thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
  }
  ~MessageBoxWatcher() {
    InterlockedExchange(&Stop, 1);
    // Its lock and list are freed next: it is waited for to its end, which
    // comes within one look at the windows.
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    DeleteCriticalSection(&Lock);
  }
  std::vector<CapturedBox> Take() {
    EnterCriticalSection(&Lock);
    std::vector<CapturedBox> boxes = Boxes;
    Boxes.clear();
    LeaveCriticalSection(&Lock);
    return boxes;
  }
};

}  // namespace photo_test
