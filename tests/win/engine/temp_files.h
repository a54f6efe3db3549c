// Real temporary folders and files for the Windows-side tests.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/win_checks.h"

namespace testfiles {

// The system's temporary folder without its trailing backslash.
inline std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string base = temp;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  return base;
}

// A fresh, empty folder under the system's temporary folder, without a
// trailing backslash.
inline std::string MakeFolder(const char* tag) {
  static int counter = 0;
  std::string base = TempFolder();
  for (;;) {
    std::string folder = base + "\\tessel-" + tag + "-" + std::to_string(GetCurrentProcessId()) +
                         "-" + std::to_string(++counter);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
  }
}

inline bool Write(const std::string& folder, const std::string& name, const std::string& content) {
  HANDLE f = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == content.size();
}

// The content of a file, or "<missing>".
inline std::string Read(const std::string& folder, const std::string& name) {
  HANDLE f = CreateFileA((folder + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[4096];
  DWORD got = 0;
  std::string content;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(f);
  return content;
}

// The names in a folder as the system spells them, sorted.
inline std::vector<std::string> List(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

// Removes what a folder holds, and the folder itself unless keepFolder.
inline void Remove(const std::string& folder, bool keepFolder = false) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        Remove(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  if (!keepFolder) RemoveDirectoryA(folder.c_str());
}

// Removes its folder when the test ends, however it ends.
struct Folder {
  std::string Path;
  explicit Folder(const char* tag) : Path(MakeFolder(tag)) {}
  ~Folder() {
    if (!Path.empty()) Remove(Path);
  }
};

// ---- Faults of a real disk, made on the Unix side --------------------------

// Runs a shell script on the Unix side, as the user the tests run as, and
// waits for it to end. Wine starts Unix programs but reports neither their
// end nor their code, so the script leaves its code in a file that this waits
// for. Answers the code, or -1 when the script could not be started or did
// not end within 60 s (a start of a program costs the emulated 32-bit PC
// seconds); when not 0, its output goes to stderr.
inline int RunUnixScript(const std::string& script) {
  static int counter = 0;
  std::string folder = TempFolder();
  std::string unixFolder = WineUnixPath(folder);
  if (unixFolder.empty() || unixFolder.find('\'') != std::string::npos) return -1;
  std::string stem = "tessel-unix-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(++counter);
  std::string file = "'" + unixFolder + "/" + stem;
  if (!Write(folder, stem + ".sh",
             "PATH=/usr/sbin:/usr/bin:/sbin:/bin:/usr/local/bin\n(\n" + script + "\n) > " + file +
                 ".out' 2>&1\necho $? > " + file + ".part' && mv " + file + ".part' " + file +
                 ".code'\n")) {
    return -1;
  }
  std::string line = "/bin/sh \"" + unixFolder + "/" + stem + ".sh\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  int code = -1;
  if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::string done = folder + "\\" + stem + ".code";
    DWORD start = GetTickCount();
    while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount() - start < 60000) {
      Sleep(10);
    }
    std::string written = Read(folder, stem + ".code");
    if (written != "<missing>") code = atoi(written.c_str());
  }
  if (code != 0) {
    fprintf(stderr, "Unix script (code %d):\n%s\n-- its output:\n%s\n", code, script.c_str(),
            Read(folder, stem + ".out").c_str());
  }
  for (const char* end : {".sh", ".out", ".code"}) DeleteFileA((folder + "\\" + stem + end).c_str());
  return code;
}

// A folder of a fixed name in the temporary folder, with a tmpfs of `size`
// mounted on it when the tests run as root; an ordinary user may not mount,
// and the folder then stays on the disk that holds it. Whatever a killed run
// left there (a mount, a lost write permission) is undone first, and again at
// the end, however the test ends.
struct MountedFolder {
  std::string Path;
  std::string UnixPath;  // quoted for the shell
  MountedFolder(const char* tag, const char* size) : Path(TempFolder() + "\\tessel-" + tag) {
    CreateDirectoryA(Path.c_str(), nullptr);
    std::string unixPath = WineUnixPath(Path);
    if (unixPath.empty() || unixPath.find('\'') != std::string::npos) return;
    UnixPath = "'" + unixPath + "'";
    Undo();
    CreateDirectoryA(Path.c_str(), nullptr);
    RunUnixScript("mount -t tmpfs -o size=" + std::string(size) + ",mode=0777 tmpfs " + UnixPath +
                  " 2>/dev/null || true");
  }
  ~MountedFolder() {
    if (!UnixPath.empty()) Undo();
  }
  // Makes the folder refuse every change: its tmpfs remounted read-only (a
  // locked card), or without one, the folder's write permission taken away.
  // True when a new file is then refused with code 5.
  bool Lock() {
    if (UnixPath.empty() ||
        RunUnixScript("if mountpoint -q " + UnixPath + "; then mount -o remount,ro " + UnixPath +
                      "; else chmod a-w " + UnixPath + "; fi") != 0) {
      return false;
    }
    return !Write(Path, "probe", "probe") && GetLastError() == ERROR_ACCESS_DENIED;
  }
  void Undo() {
    RunUnixScript("chmod u+w " + UnixPath + " 2>/dev/null\nwhile mountpoint -q " + UnixPath +
                  "; do umount " + UnixPath + " || umount -l " + UnixPath + " || exit 1; done");
    Remove(Path);
  }
};

}  // namespace testfiles
