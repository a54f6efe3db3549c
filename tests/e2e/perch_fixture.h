// Perch started for real from a fresh folder that holds Perch.exe, a
// Perch.inf and a target program (a copy of Tessel.exe named Target.exe).
// Shared by the Perch end-to-end tests; the test's own thread only.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/driver.h"

namespace perch_e2e {

using namespace e2e;

const int kWait = 15000;
const char kTargetName[] = "Target.exe";

// The Windows version Wine reports to Perch.exe ("winxp", "win2k", "vista",
// "win7"), or Wine's own default when `version` is null. Takes effect for
// processes started afterwards.
inline bool SetPerchWindowsVersion(const char* version) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Perch.exe", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG result;
  if (version == nullptr) {
    result = RegDeleteValueA(key, "Version");
    if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
  } else {
    result = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                            static_cast<DWORD>(strlen(version) + 1));
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

// Puts Wine's default back when a test ends, whatever happened.
struct VersionScope {
  explicit VersionScope(const char* version) { Ok = SetPerchWindowsVersion(version); }
  ~VersionScope() { SetPerchWindowsVersion(nullptr); }
  bool Ok;
};

// The instruction file as it ships: Shift-JIS, CR LF line ends.
inline std::string InstructionFile(const std::string& target, const char* title) {
  std::string text = "[実行ファイル名]\r\n" + target + "\r\n";
  if (title != nullptr) text += std::string("[タイトル]\r\n") + title + "\r\n";
  return text;
}

// Wine mirrors every link saved on the desktop or in the Start menu into the
// host's menus and desktop; the programs started from here skip that.
inline void KeepShortcutsOutOfTheHostMenus() {
  char overrides[512] = "";
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  std::string value = overrides;
  if (value.find("winemenubuilder") != std::string::npos) return;
  if (!value.empty()) value += ";";
  value += "winemenubuilder.exe=d";
  SetEnvironmentVariableA("WINEDLLOVERRIDES", value.c_str());
}

struct PerchRun {
  std::string Folder;
  std::string Exe;
  Program Run;
  HWND Main = nullptr;

  ~PerchRun() { EndProgram(Run); }

  // A folder with Perch.exe, the target and (unless `inf` is null) Perch.inf.
  void Prepare(const char* tag, const std::string* inf) {
    KeepShortcutsOutOfTheHostMenus();
    Folder = MakeFreshFolder(tag);
    ASSERT_FALSE(Folder.empty());
    Exe = CopyProgram(Folder, "Perch.exe");
    ASSERT_FALSE(Exe.empty());
    ASSERT_TRUE(CopyFileA(JoinPath(BinFolder(), "Tessel.exe").c_str(),
                          JoinPath(Folder, kTargetName).c_str(), FALSE));
    if (inf != nullptr) {
      ASSERT_TRUE(WriteFileBytes(JoinPath(Folder, "Perch.inf"), inf->data(), inf->size()));
    }
  }

  void PrepareFor(const char* tag, const char* title) {
    std::string inf = InstructionFile(kTargetName, title);
    Prepare(tag, &inf);
  }

  void Start() {
    ASSERT_TRUE(StartProgram(Run, Exe));
    Main = WaitForTopWindow(Run.Process.dwProcessId, "PerchClass", kWait);
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != 0; }, kWait));
  }

  HWND Control(int id) { return Child(Main, id); }
  int Checked(int id) {
    return static_cast<int>(SendMessageA(Control(id), BM_GETCHECK, 0, 0));
  }
  bool Enabled(int id) { return IsWindowEnabled(Control(id)) != 0; }
  // Clicks a box or radio button as the mouse does; answers once Perch has
  // handled the click. A disabled control takes no click.
  void Click(int id) {
    HWND control = Control(id);
    if (control == nullptr || !IsWindowEnabled(control)) return;
    SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kWait, nullptr);
  }
  // Clicks a push button that opens a message box: posted, never waited for.
  void Press(int id) { PostMessageA(Control(id), BM_CLICK, 0, 0); }

  // Waits for the end of the process and expects exit code 0.
  void ExpectEnd() {
    DWORD code = 12345;
    ASSERT_TRUE(WaitForExit(Run, kWait, &code));
    EXPECT_EQ(code, 0u);
  }
};

}  // namespace perch_e2e
