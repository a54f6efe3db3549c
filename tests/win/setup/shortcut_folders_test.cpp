// The user's folders that receive Perch's shortcuts, looked up through the
// shell for real: a folder whose name the code page cannot hold is no folder
// at all (its shortcut is then reported as not written), never the folder
// that its ANSI name would lead to.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "setup/shortcuts.h"

namespace {

const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The Start menu's Programs folder moved to another one for as long as this
// lives, as a profile moved by the user would be; put back however the test
// ends. (Wine keeps the desktop's path for the life of the process, so the
// desktop cannot be moved here.)
struct MovedPrograms {
  HKEY Key = nullptr;
  bool Had = false;
  WCHAR Before[MAX_PATH] = L"";
  DWORD Type = REG_EXPAND_SZ;

  explicit MovedPrograms(const std::wstring& folder) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &Key) !=
        ERROR_SUCCESS) {
      Key = nullptr;
      return;
    }
    DWORD size = sizeof Before;
    Had = RegQueryValueExW(Key, L"Programs", nullptr, &Type, reinterpret_cast<BYTE*>(Before),
                           &size) == ERROR_SUCCESS;
    RegSetValueExW(Key, L"Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(WCHAR)));
  }
  ~MovedPrograms() {
    if (Key == nullptr) return;
    if (Had) {
      RegSetValueExW(Key, L"Programs", 0, Type, reinterpret_cast<const BYTE*>(Before),
                     static_cast<DWORD>((lstrlenW(Before) + 1) * sizeof(WCHAR)));
    } else {
      RegDeleteValueW(Key, L"Programs");
    }
    RegCloseKey(Key);
  }
};

std::string ProgramsFolder() {
  char folder[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PROGRAMS, FALSE)) return "";
  return folder;
}

TEST(ShortcutFolders, AFolderWhoseNameTheCodePageCannotHoldIsNotFound) {
  RegistrationOps shell = ShellRegistration(nullptr);
  char path[kPathSize];
  ASSERT_EQ(shell.FindFolder(shell.Context, kFolderPrograms, path), kFolderFound);
  EXPECT_EQ(std::string(path), ProgramsFolder());

  // Prog¥rams, beside Prog\rams, which best fit would name.
  WCHAR temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  std::wstring base = std::wstring(temp) + L"perch-folders-" + std::to_wstring(GetCurrentProcessId());
  std::wstring moved = base + L"\\Prog\u00A5rams";
  std::wstring lookAlike = base + L"\\Prog\\rams";
  for (const std::wstring& folder : {base, moved, base + L"\\Prog", lookAlike})
    CreateDirectoryW(folder.c_str(), nullptr);
  {
    MovedPrograms programs(moved);
    ASSERT_NE(programs.Key, nullptr);
    path[0] = 'x';
    EXPECT_EQ(shell.FindFolder(shell.Context, kFolderPrograms, path), kFolderMissing);
    EXPECT_STREQ(path, "");
  }
  EXPECT_EQ(shell.FindFolder(shell.Context, kFolderPrograms, path), kFolderFound);
  EXPECT_EQ(std::string(path), ProgramsFolder());
  for (const std::wstring& folder : {lookAlike, base + L"\\Prog", moved, base})
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
