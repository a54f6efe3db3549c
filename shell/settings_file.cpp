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
  // Defaults made in place of an unreadable record never overwrite it.
  if (App.SettingsFileKept) return -1;
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
  if (ComposeSettingsPath(path, App.ModuleDirectory)) {
    file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) {
    AppendLogRow('E', "設定ファイル（書込み）オープンエラー");
    return -1;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(file, &Settings, sizeof Settings, &written, nullptr);
  CloseHandle(file);
  // A short write leaves a damaged file: report it like a failed one.
  return (ok && written == sizeof Settings) ? 0 : -1;
}
