// Tessel.ini on a real disk: load, save and their failures.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "shell/activity_log.h"
#include "shell/app_state.h"
#include "common/bounded_text.h"
#include "shell/settings_file.h"
#include "shell/settings_record.h"

namespace {

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "tessel-settings-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    CopyText(App.ModuleDirectory, folder_.c_str());
    ini_ = folder_ + "\\Tessel.ini";
    DeleteFileA(ini_.c_str());
    App.MainWindow = nullptr;
    App.LogList = nullptr;
    InitializeCriticalSection(&App.LogLock);
  }
  void TearDown() override {
    DeleteFileA(ini_.c_str());
    RemoveDirectoryA(folder_.c_str());
    DeleteCriticalSection(&App.LogLock);
  }
  std::string folder_, ini_;
};

TEST_F(SettingsFileTest, SavedRecordLoadsBackByteForByte) {
  MakeDefaultSettings(Settings);
  Settings.SerialDigits = 7;
  memcpy(Settings.NamePart2, "札幌\0old", 8);
  ASSERT_EQ(WriteSettingsFile(), 0);
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(ini_.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 1456u);
  RenameSettings written = Settings;
  memset(&Settings, 0, sizeof Settings);
  ASSERT_EQ(LoadSettings(), 0);
  EXPECT_EQ(memcmp(&Settings, &written, sizeof Settings), 0);
}

TEST_F(SettingsFileTest, MissingOrShortFileIsNotLoaded) {
  memset(&Settings, 0, sizeof Settings);
  EXPECT_EQ(LoadSettings(), -1);
  HANDLE file = CreateFileA(ini_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written;
  WriteFile(file, "0123456789", 10, &written, nullptr);
  CloseHandle(file);
  EXPECT_EQ(LoadSettings(), -1);
  EXPECT_EQ(Settings.FormatVersion, 0);  // the record keeps what it had
}

TEST_F(SettingsFileTest, FolderTooLongForTheSettingsPathIsRefusedNotOverflowed) {
  std::string longFolder(250, 'a');
  CopyText(App.ModuleDirectory, longFolder.c_str());
  MakeDefaultSettings(Settings);
  EXPECT_EQ(LoadSettings(), -1);
  // The failure row waits for the log list like any row logged before it exists.
  EXPECT_EQ(WriteSettingsFile(), -1);
  EXPECT_EQ(SaveSettings(), -1);
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  App.MainWindow = parent;
  App.LogRowCount = 0;
  ASSERT_NE(CreateLogList(), nullptr);
  ASSERT_EQ(App.LogRowCount, 2);
  char text[200] = "";
  ListView_GetItemText(App.LogList, 1, 0, text, sizeof text);
  EXPECT_STREQ(text, " 設定ファイル（書込み）オープンエラー");
  DestroyWindow(parent);
  App.LogList = nullptr;
  App.MainWindow = nullptr;
}

}  // namespace
