#include "shell/settings_file.h"

#include <windows.h>

#include "shell/activity_log.h"
#include "shell/app_state.h"
#include "common/bounded_text.h"
#include "shell/settings_record.h"

int LoadSettings() {
  App.SettingsFileKept = false;
  char path[256];
  if (!ComposeSettingsPath(path, App.ModuleDirectory)) return -1;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // A file that is there but cannot be opened (held by another program,
    // no permission) holds the user's record: it is kept. No file, or a
    // folder in its place, is written at exit as usual.
    DWORD attributes = GetFileAttributesA(path);
    App.SettingsFileKept =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return -1;
  }
  unsigned char image[kSettingsFileSize];
  DWORD got = 0;
  int result = -1;
  if (!ReadFile(file, image, sizeof image, &got, nullptr)) {
    char row[64];
    FormatText(row, "設定ファイル読込みエラー(%d)", static_cast<int>(GetLastError()));
    AppendLogRow('E', row);
    App.SettingsFileKept = true;
  } else if (AcceptSettingsImage(Settings, image, got)) {
    result = 0;
  }
  CloseHandle(file);
  return result;
}

int SaveSettings() {
  // Defaults made in place of an unreadable record never overwrite it, and a
  // folder without an exact name is never written to: its ANSI name would
  // lead to another folder.
  if (App.SettingsFileKept || App.ModuleFolderUnheld) return -1;
  if (App.MainWindow != nullptr && !IsIconic(App.MainWindow) && !IsZoomed(App.MainWindow)) {
    RECT r = {};
    if (GetWindowRect(App.MainWindow, &r)) {
      Settings.WindowLeft = r.left;
      Settings.WindowTop = r.top;
      Settings.WindowWidth = r.right - r.left;
      Settings.WindowHeight = r.bottom - r.top;
    }
  }
  return WriteSettingsFile();
}

int WriteSettingsFile() {
  char path[256];
  HANDLE file = INVALID_HANDLE_VALUE;
  bool existed = false;
  if (ComposeSettingsPath(path, App.ModuleDirectory)) {
    // Opened without truncation: the record is written in place over the one
    // already there, which needs no new space even on a full disk, so the
    // file holds the old record or the new one, never an empty or torn one.
    file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    existed = GetLastError() == ERROR_ALREADY_EXISTS;
  }
  if (file == INVALID_HANDLE_VALUE) {
    AppendLogRow('E', "設定ファイル（書込み）オープンエラー");
    return -1;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(file, &Settings, sizeof Settings, &written, nullptr);
  // A longer file (an older or foreign one) ends with the record.
  bool saved = ok && written == sizeof Settings && SetEndOfFile(file);
  CloseHandle(file);
  // A file made by this call that did not take the whole record is removed
  // rather than left empty or cut short.
  if (!saved && !existed) DeleteFileA(path);
  return saved ? 0 : -1;
}
