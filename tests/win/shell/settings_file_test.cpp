// Tessel.ini on a real disk: load, save and their failures.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <optional>
#include <string>

#include "shell/activity_log.h"
#include "shell/app_state.h"
#include "common/bounded_text.h"
#include "shell/settings_file.h"
#include "shell/settings_record.h"
#include "win/engine/temp_files.h"

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

// A folder on a disk of 8 KiB of its own, which a test fills. As root the
// folder gets a tmpfs of its own; an ordinary user, who may not mount, takes
// the one that the emulated PC's root part mounted for the tests' user at
// /mnt/tessel-small-disk. Emptied at both ends.
struct SmallDisk {
  std::string Path;
  std::optional<testfiles::MountedFolder> Mount;
  SmallDisk() {
    const char prepared[] = "Z:\\mnt\\tessel-small-disk";
    DWORD attributes = GetFileAttributesA(prepared);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      Path = prepared;
    } else {
      Mount.emplace("small-disk", "8k");
      Path = Mount->Path;
    }
    testfiles::Remove(Path, true);
  }
  ~SmallDisk() {
    testfiles::Remove(Path, true);
  }
  // Fills what is left with one more file: true when its writes end in
  // code 112 (disk full) within 1 MiB, as only a small disk does.
  bool Fill() {
    HANDLE file = CreateFileA((Path + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char block[1024] = {};
    DWORD written = 0;
    DWORD total = 0;
    while (total < (1u << 20) && WriteFile(file, block, sizeof block, &written, nullptr)) {
      total += written;
    }
    DWORD code = GetLastError();
    CloseHandle(file);
    return total < (1u << 20) && code == ERROR_DISK_FULL;
  }
};

std::string RecordBytes(const RenameSettings& record) {
  return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// Saving on a full disk. Over a record already there the save needs no new
// space; with no file there it fails and leaves no file at all, not an empty
// or a cut one.
TEST_F(SettingsFileTest, OnAFullDiskTheFileHoldsTheOldRecordOrTheNewOneWhole) {
  SmallDisk disk;
  CopyText(App.ModuleDirectory, disk.Path.c_str());
  RenameSettings before;
  MakeDefaultSettings(before);
  CopyText(before.NamePart1, "旧");
  const struct {
    const char* situation;
    bool recordBefore;
  } cases[] = {{"no file before", false}, {"a record before", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    if (c.recordBefore) {
      ASSERT_TRUE(testfiles::Write(disk.Path, "Tessel.ini", RecordBytes(before)));
    }
    ASSERT_TRUE(disk.Fill()) << "no small disk: neither mounted here nor prepared";
    MakeDefaultSettings(Settings);
    CopyText(Settings.NamePart1, "新");
    int result = WriteSettingsFile();
    std::string after = testfiles::Read(disk.Path, "Tessel.ini");
    if (!c.recordBefore) {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(after, "<missing>");
    } else if (result == 0) {
      EXPECT_TRUE(after == RecordBytes(Settings)) << "not the new record whole";
    } else {
      EXPECT_TRUE(after == RecordBytes(before)) << "not the old record whole";
    }
    testfiles::Remove(disk.Path, true);
  }
}

}  // namespace
