// Perch started for real from a fresh folder that holds Perch.exe, a
// Perch.inf and a target program (a copy of Tessel.exe named Target.exe).
// Shared by the Perch end-to-end tests; the test's own thread only.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver.h"

namespace perch_e2e {

using namespace e2e;

const int kWait = kEventWait;
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

// Perch's UI font made here from its literal description: "ＭＳ ゴシック",
// Shift-JIS, height 14, every other attribute 0. A font handle of Perch's
// process means nothing in this one.
inline HFONT LiteralGothic() {
  return CreateFontA(14, 0, 0, 0, 0, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
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

// What a folder holds, one line per entry (the folder itself as "."): name,
// attributes, size, and the creation and last-write times (the last-access
// time moves whenever Perch reads a file, so it is left out).
inline std::vector<std::string> FolderListing(const std::string& folder) {
  std::vector<std::string> lines;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return lines;
  do {
    // The parent's times move whenever another test makes its folder.
    if (lstrcmpA(found.cFileName, "..") == 0) continue;
    char line[MAX_PATH + 128];
    wsprintfA(line, "%s attributes %lx size %lu:%lu created %lu:%lu written %lu:%lu",
              found.cFileName, found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow,
              found.ftCreationTime.dwHighDateTime, found.ftCreationTime.dwLowDateTime,
              found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime);
    lines.push_back(line);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return lines;
}

// The folder's listing and the target's bytes, taken before Perch runs and
// compared with what it leaves.
struct FolderSnapshot {
  std::string Folder;
  std::vector<std::string> Listing;
  std::vector<unsigned char> Target;

  void Take(const std::string& folder) {
    Folder = folder;
    Listing = FolderListing(folder);
    ReadFileBytes(JoinPath(folder, kTargetName), Target);
  }
  void ExpectUnchanged() const {
    EXPECT_EQ(FolderListing(Folder), Listing);
    std::vector<unsigned char> now;
    EXPECT_TRUE(ReadFileBytes(JoinPath(Folder, kTargetName), now));
    EXPECT_TRUE(now == Target) << "the target's bytes changed";
  }
};

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
    Main = WaitForRunningWindow(Run.Process.dwProcessId, "PerchClass", kWait);
    ASSERT_NE(Main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != 0; }, kWait));
  }

  // Answers once Perch's message loop has taken a message sent now: its
  // window has been shown and painted, or an earlier posted click handled.
  bool Answered() { return Ask(Main, WM_NULL, 0, 0, "WM_NULL"); }

  HWND Control(int id) { return Child(Main, id); }
  // BM_GETCHECK; -1 (and a failed case) when Perch does not answer.
  int Checked(int id) {
    LRESULT state = -1;
    Ask(Control(id), BM_GETCHECK, 0, 0, "BM_GETCHECK", &state);
    return static_cast<int>(state);
  }
  bool Enabled(int id) { return IsWindowEnabled(Control(id)) != 0; }
  // Clicks a box or radio button as the mouse does; answers once Perch has
  // handled the click. A disabled control takes no click.
  void Click(int id) {
    HWND control = Control(id);
    if (control == nullptr || !IsWindowEnabled(control)) return;
    Ask(control, BM_CLICK, 0, 0, "BM_CLICK");
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
