// Tessel started for real from a fresh folder of its own (with a chosen
// Tessel.ini, or none), waited for until its start-up rows are in the log,
// quit through its menu, and its settings file read afterwards.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e/default_record.h"
#include "e2e/driver.h"
#include "shell/settings_record.h"

namespace e2e {

struct TesselSession {
  std::string Folder;
  std::string Exe;
  std::string Ini;
  Program Run;
  HWND Main = nullptr;
  HWND List = nullptr;
  HWND Status = nullptr;

  ~TesselSession() { EndProgram(Run); }

  DWORD Pid() const { return Run.Process.dwProcessId; }
  DWORD Thread() const { return Run.Process.dwThreadId; }

  // Copies Tessel.exe into a fresh folder, with `ini` as Tessel.ini if given.
  void PrepareBytes(const char* tag, const void* ini, size_t iniSize) {
    Folder = MakeFreshFolder(tag);
    ASSERT_FALSE(Folder.empty());
    Exe = CopyProgram(Folder, "Tessel.exe");
    ASSERT_FALSE(Exe.empty());
    Ini = JoinPath(Folder, "Tessel.ini");
    if (ini != nullptr) {
      ASSERT_TRUE(WriteFileBytes(Ini, ini, iniSize));
    }
  }
  void Prepare(const char* tag, const RenameSettings* record = nullptr) {
    PrepareBytes(tag, record, record != nullptr ? sizeof *record : 0);
  }

  void Start() {
    ASSERT_TRUE(StartProgram(Run, Exe));
    Main = WaitForRunningWindow(Pid(), "TesselClass", kEventWait);
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(WaitUntil(
        [&] {
          List = Child(Main, 2);
          return List != nullptr && ListRowCount(List) > 0;
        },
        kEventWait));
    Status = Child(Main, 5);
    ASSERT_NE(Status, nullptr);
  }

  std::vector<ListRow> Rows() { return ReadListRows(List); }

  // Command 123, as the menu sends it; the program ends with code 0.
  void Quit() {
    PostCommand(Main, 123);
    DWORD code = 12345;
    ASSERT_TRUE(WaitForExit(Run, kEventWait, &code));
    EXPECT_EQ(code, 0u);
  }

  RenameSettings ReadIni() {
    std::vector<unsigned char> bytes;
    RenameSettings s;
    memset(&s, 0, sizeof s);
    EXPECT_TRUE(ReadFileBytes(Ini, bytes));
    EXPECT_EQ(bytes.size(), kRecordBytes);  // the 1456-byte record, whole
    if (bytes.size() == kRecordBytes) memcpy(&s, bytes.data(), sizeof s);
    return s;
  }
};

}  // namespace e2e
