// A user's shortcut folder whose name code page 932 cannot hold, looked up
// through the shell for real: no folder at all (its shortcut is then reported
// as not written), never the look-alike that its ANSI name leads to.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "setup/shortcuts.h"

namespace {

// Wine keeps the desktop's path for the life of a process, so the test
// moves the Programs folder, as a user moving a profile would.
TEST(ShortcutFolders, AFolderWhoseNameTheCodePageCannotHoldIsNotFound) {
  WCHAR temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  std::wstring base = temp + std::wstring(L"perch-folders-") + std::to_wstring(GetCurrentProcessId());
  std::wstring folders[] = {base, base + L"\\Prog", base + L"\\Prog\\rams", base + L"\\Prog\u00A5rams"};
  for (const std::wstring& folder : folders) CreateDirectoryW(folder.c_str(), nullptr);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER,
                          L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                          0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key), ERROR_SUCCESS);
  WCHAR before[MAX_PATH] = L"";
  DWORD type = REG_EXPAND_SZ, size = sizeof before;
  ASSERT_EQ(RegQueryValueExW(key, L"Programs", nullptr, &type, reinterpret_cast<BYTE*>(before), &size),
            ERROR_SUCCESS);
  const std::wstring& moved = folders[3];  // Prog¥rams: best fit names Prog\rams
  RegSetValueExW(key, L"Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(moved.c_str()),
                 static_cast<DWORD>((moved.size() + 1) * sizeof(WCHAR)));
  RegistrationOps shell = ShellRegistration(nullptr);
  char path[kPathSize] = "x";
  FolderLookup found = shell.FindFolder(shell.Context, kFolderPrograms, path);
  RegSetValueExW(key, L"Programs", 0, type, reinterpret_cast<const BYTE*>(before), size);
  RegCloseKey(key);
  EXPECT_EQ(found, kFolderMissing);
  EXPECT_STREQ(path, "");
  EXPECT_EQ(shell.FindFolder(shell.Context, kFolderPrograms, path), kFolderFound);  // put back
  for (int i = 3; i >= 0; --i) RemoveDirectoryW(folders[i].c_str());
}

}  // namespace
