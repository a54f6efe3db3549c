// Real temporary folders and files for the Windows-side tests.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testfiles {

// A fresh, empty folder under the system's temporary folder, without a
// trailing backslash.
inline std::string MakeFolder(const char* tag) {
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string base = temp;
  if (!base.empty() && base.back() == '\\') base.pop_back();
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

inline void Remove(const std::string& folder) {
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
  RemoveDirectoryA(folder.c_str());
}

// Removes its folder when the test ends, however it ends.
struct Folder {
  std::string Path;
  explicit Folder(const char* tag) : Path(MakeFolder(tag)) {}
  ~Folder() {
    if (!Path.empty()) Remove(Path);
  }
};

}  // namespace testfiles
