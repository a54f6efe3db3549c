// Names as Windows holds them, in Unicode, for the tests of names that code
// page 932 cannot hold (a yen sign, Hangul, the wave dash of a Mac): folders
// and files made with the wide calls, a program started from such a folder,
// and a path typed into the Unicode file chooser. The driver itself speaks
// Shift-JIS; these sit beside it. The test's own thread only.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace e2e {

// A Shift-JIS text of the driver in Unicode.
inline std::wstring Wide(const std::string& ansi) {
  WCHAR wide[1024] = L"";
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 1024);
  return wide;
}

inline std::wstring JoinWide(const std::wstring& folder, const std::wstring& name) {
  return folder + L"\\" + name;
}

// Makes the folder (its parent must exist); true when it is there.
inline bool MakeFolderW(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

inline bool ExistsW(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Copies a file named in Shift-JIS (a test photo, a program) to a Unicode name.
inline bool CopyToW(const std::string& source, const std::wstring& target) {
  return CopyFileW(Wide(source).c_str(), target.c_str(), FALSE) != 0;
}

// common + number (digits wide) + tail for first..last, each a copy of source.
inline bool MakeNumberedFilesW(const std::wstring& folder, const wchar_t* common, int digits,
                               int first, int last, const wchar_t* tail,
                               const std::string& source) {
  for (int n = first; n <= last; ++n) {
    wchar_t number[16];
    swprintf(number, 16, L"%0*d", digits, n);
    if (!CopyToW(source, JoinWide(folder, common + std::wstring(number) + tail))) return false;
  }
  return true;
}

// The names in a folder, sorted, without "." and "..".
inline std::vector<std::wstring> FolderNamesW(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(JoinWide(folder, L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

// Starts a program by its Unicode path, with its own folder as working
// directory, tried again for up to 10 s like StartProgram.
inline bool StartProgramW(Program& program, const std::wstring& exePath) {
  std::wstring folder = exePath.substr(0, exePath.find_last_of(L'\\'));
  std::wstring commandLine = L"\"" + exePath + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  return WaitUntil(
      [&] {
        if (CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           folder.c_str(), &startup, &program.Process)) {
          return true;
        }
        fprintf(stderr, "StartProgramW: error %lu\n", GetLastError());
        return false;
      },
      10000);
}

// Answers the file chooser of the process as ChooseFileInOpenDialog does,
// with a path typed in Unicode (a name Shift-JIS cannot carry).
inline bool ChooseFileInOpenDialogW(DWORD processId, const char* caption, const std::wstring& path,
                                    int timeoutMs) {
  HWND chooser = WaitForDialog(processId, caption, timeoutMs);
  if (chooser == nullptr) return false;
  HWND nameBox = nullptr;
  if (!WaitUntil([&] { return (nameBox = GetDlgItem(chooser, 0x47C)) != nullptr; }, timeoutMs))
    return false;
  DWORD_PTR set = 0;
  if (!SendMessageTimeoutW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                           SMTO_ABORTIFHUNG, 5000, &set)) {
    return false;
  }
  ClickButton(chooser, IDOK);
  return WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }, timeoutMs);
}

}  // namespace e2e
