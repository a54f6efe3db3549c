// Tessel.ini that opens for writing but takes no bytes: a link to the Unix
// device /dev/full, on which every write fails as on a full disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "common/bounded_text.h"
#include "common/win_checks.h"
#include "shell/activity_log.h"
#include "shell/app_state.h"
#include "shell/settings_file.h"
#include "shell/settings_record.h"

namespace {

bool Opens(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// Runs a Unix command through Wine (which starts native programs too, but
// reports neither their end nor their code) and waits for its effect, for up
// to 60 s: a start of a program costs the emulated 32-bit PC seconds.
bool RunAndWaitFor(const std::string& command, bool (*done)(const std::string&),
                   const std::string& path) {
  std::string line = command;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DWORD start = GetTickCount();
  while (!done(path)) {
    if (GetTickCount() - start > 60000) return false;
    Sleep(20);
  }
  return true;
}

bool Gone(const std::string& path) { return !Opens(path); }

class SettingsWriteFailureTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "tessel-fullmedium-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    ini_ = folder_ + "\\Tessel.ini";
    std::string unixFolder = WineUnixPath(folder_);
    ASSERT_FALSE(unixFolder.empty()) << "not under Wine";
    link_ = unixFolder + "/Tessel.ini";
    ASSERT_TRUE(RunAndWaitFor("/bin/ln -s /dev/full \"" + link_ + "\"", Opens, ini_));
    CopyText(App.ModuleDirectory, folder_.c_str());
    InitializeCriticalSection(&App.LogLock);
    parent_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 40, 30, 320, 240, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    App.MainWindow = parent_;
    App.LogList = nullptr;
    App.LogRowCount = 0;
    App.ShowDebugRows = 0;
    ASSERT_NE(CreateLogList(), nullptr);
  }
  void TearDown() override {
    if (parent_ != nullptr) DestroyWindow(parent_);
    App.LogList = nullptr;
    App.MainWindow = nullptr;
    DeleteCriticalSection(&App.LogLock);
    if (!link_.empty()) RunAndWaitFor("/bin/rm -f \"" + link_ + "\"", Gone, ini_);
    RemoveDirectoryA(folder_.c_str());
  }
  std::string folder_, ini_, link_;
  HWND parent_ = nullptr;
};

TEST_F(SettingsWriteFailureTest, WriteThatFailsAnswersMinusOneWithoutALogRow) {
  // Rows logged before this list existed have gone into it.
  const int rowsBefore = App.LogRowCount;
  MakeDefaultSettings(Settings);
  EXPECT_EQ(WriteSettingsFile(), -1);
  EXPECT_EQ(App.LogRowCount, rowsBefore);
  EXPECT_EQ(SendMessageA(App.LogList, LVM_GETITEMCOUNT, 0, 0), rowsBefore);

  // Saving takes the normal window's rectangle, then fails the same way.
  EXPECT_EQ(SaveSettings(), -1);
  EXPECT_EQ(Settings.WindowLeft, 40);
  EXPECT_EQ(Settings.WindowTop, 30);
  EXPECT_EQ(Settings.WindowWidth, 320);
  EXPECT_EQ(Settings.WindowHeight, 240);
  EXPECT_EQ(App.LogRowCount, rowsBefore);
}

}  // namespace
