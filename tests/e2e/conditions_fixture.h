// Shared by the conditions dialog tests: Tessel started from a fresh folder
// (with a chosen Tessel.ini), its conditions dialog opened through command
// 121, a file chosen through the real file chooser, refusals read from their
// message boxes, and the settings file read after Tessel has ended.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/default_record.h"
#include "e2e/driver.h"
#include "e2e/tessel_session.h"
#include "shell/settings_record.h"

namespace conditions_e2e {

using namespace e2e;

const char kConditionsCaption[] = "ファイル名変更条件設定";
const char kChooserCaption[] = "ファイルの選択";
const char kLayoutCaption[] = "撮影日詳細";
const char kHistoryCaption[] = "履歴から入力";
const char kConfirmCaption[] = "確認画面";
const char kErrorCaption[] = "エラー";
const char kChoiceCaption[] = "条件設定";

// The photos made at build time by scripts/make-test-photos.sh, in
// test-photos/ beside bin/.
inline std::string TestPhoto(const char* name) {
  std::string bin = BinFolder();
  return JoinPath(bin.substr(0, bin.find_last_of('\\')), std::string("test-photos\\") + name);
}

// Files common + number (digits wide) + extension for first..last, each a
// copy of `source` (or empty when source is empty).
inline void MakeNumberedFiles(const std::string& folder, const char* common, int digits, int first,
                              int last, const char* extension, const std::string& source) {
  for (int n = first; n <= last; ++n) {
    char name[128];
    snprintf(name, sizeof name, "%s%0*d%s", common, digits, n, extension);
    std::string path = JoinPath(folder, name);
    if (source.empty()) {
      ASSERT_TRUE(WriteFileBytes(path, "", 0)) << path;
    } else {
      ASSERT_TRUE(CopyFileA(source.c_str(), path.c_str(), FALSE)) << path;
    }
  }
}

inline std::string MakeSubFolder(const std::string& parent, const char* name) {
  std::string path = JoinPath(parent, name);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

inline void SetHistory(char (&history)[kHistorySlots][kHistoryWidth],
                       const std::vector<const char*>& entries) {
  for (int i = 0; i < kHistorySlots; ++i) history[i][0] = '\0';
  for (size_t i = 0; i < entries.size(); ++i) strcpy(history[i], entries[i]);
}

inline std::vector<std::string> HistoryEntries(const char (&history)[kHistorySlots][kHistoryWidth]) {
  std::vector<std::string> entries;
  for (int i = 0; i < kHistorySlots; ++i) entries.push_back(history[i]);
  return entries;
}

// The text of a log row as the list shows it: one space, then the row's text
// cut to 160 bytes.
inline std::string LogText(const std::string& text) { return " " + text.substr(0, 160); }

// The visible dialogs of the process other than `except`: boxes and
// sub-dialogs that something opened.
inline int OtherDialogs(DWORD processId, HWND except) {
  struct Search {
    DWORD Pid;
    HWND Except;
    int Count;
    static BOOL CALLBACK Match(HWND w, LPARAM param) {
      Search* s = reinterpret_cast<Search*>(param);
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == s->Pid && w != s->Except && ClassName(w) == "#32770" && IsWindowVisible(w))
        s->Count += 1;
      return TRUE;
    }
  } search = {processId, except, 0};
  EnumWindows(Search::Match, reinterpret_cast<LPARAM>(&search));
  return search.Count;
}

// A click posted on the check box 1429 of the conditions dialog, waited for
// until its tick has turned: everything posted to the dialog before it has
// been handled, and a box it opened would be open now.
inline bool ToggleMarker(HWND dialog) {
  bool ticked = IsButtonChecked(dialog, 1429);
  ClickButton(dialog, 1429);
  return WaitUntil([&] { return IsButtonChecked(dialog, 1429) != ticked; }, kEventWait);
}

// A message box of the process owned by `owner`. Our dialogs' labels have
// the id 0xFFFF of a message box's text too, so a box is told by its icon
// control (1088), which Wine's message box always has; it holds an icon only
// when the box was given one.
struct Box {
  HWND Window = nullptr;
  std::string Caption;
  std::string Text;
  bool Icon = false;
};

inline bool WaitForOwnedMessageBox(DWORD processId, HWND owner, int timeoutMs, Box& box) {
  struct Search {
    DWORD Pid;
    HWND Owner;
    HWND Found;
    static BOOL CALLBACK Match(HWND w, LPARAM param) {
      Search* s = reinterpret_cast<Search*>(param);
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == s->Pid && ClassName(w) == "#32770" && IsWindowVisible(w) &&
          GetWindow(w, GW_OWNER) == s->Owner && GetDlgItem(w, 1088) != nullptr &&
          GetDlgItem(w, 0xFFFF) != nullptr) {
        s->Found = w;
        return FALSE;
      }
      return TRUE;
    }
  } search = {processId, owner, nullptr};
  WaitUntil(
      [&] {
        search.Found = nullptr;
        EnumWindows(Search::Match, reinterpret_cast<LPARAM>(&search));
        return search.Found != nullptr;
      },
      timeoutMs);
  if (search.Found == nullptr) return false;
  box.Window = search.Found;
  box.Caption = WindowText(box.Window);
  box.Text = ItemText(box.Window, 0xFFFF);
  LRESULT icon = 0;
  box.Icon = Ask(GetDlgItem(box.Window, 1088), STM_GETICON, 0, 0, "STM_GETICON", &icon) &&
             icon != 0;
  return true;
}

struct TesselRun : TesselSession {
  // Command 121, posted as the menu does; returns the conditions dialog.
  HWND OpenConditions() {
    PostCommand(Main, 121);
    HWND dialog = WaitForDialog(Pid(), kConditionsCaption, kEventWait);
    EXPECT_NE(dialog, nullptr);
    return dialog;
  }

  // Browse, then the chooser filled and confirmed like a user does.
  bool Choose(HWND dialog, const std::string& path) {
    ClickButton(dialog, 1425);
    return ChooseFileInOpenDialog(Pid(), kChooserCaption, path, kEventWait);
  }

  // Presses a button and reads the message box it brings up over `dialog`;
  // answers it with OK and waits until it has gone.
  Box PressForBox(HWND dialog, int button) {
    ClickButton(dialog, button);
    return TakeBox(dialog);
  }

  Box TakeBox(HWND owner) {
    Box box;
    EXPECT_TRUE(WaitForOwnedMessageBox(Pid(), owner, kEventWait, box));
    if (box.Window != nullptr) {
      ClickButton(box.Window, IDOK);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.Window); }, kEventWait));
    }
    return box;
  }

  // OK refused: the box's caption and exact text, then the focus.
  void ExpectRefusal(HWND dialog, const char* text, int focus) {
    Box box = PressForBox(dialog, IDOK);
    EXPECT_EQ(box.Caption, kErrorCaption);
    EXPECT_EQ(box.Text, text);
    EXPECT_TRUE(box.Icon) << "refusals carry the error icon";
    EXPECT_TRUE(WaitUntil([&] { return ControlId(FocusWindow(Thread())) == focus; }, kEventWait))
        << "focus on " << ControlId(FocusWindow(Thread())) << ", not " << focus;
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";
  }

  // Waits for the last row of a rename job.
  bool WaitForRenameEnd(size_t startRows, int timeoutMs) {
    return WaitUntil(
        [&] {
          std::vector<ListRow> rows = Rows();
          return rows.size() > startRows && rows.back().Text == LogText("リネーム終了");
        },
        timeoutMs);
  }
};

// Everything of a record before the window rectangle.
inline bool SameChoices(const RenameSettings& a, const RenameSettings& b) {
  return memcmp(&a, &b, offsetof(RenameSettings, WindowLeft)) == 0;
}

}  // namespace conditions_e2e
