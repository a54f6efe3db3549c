// The conditions dialog in-process, from the real template 101: what it
// shows at opening for a given record, its colours, its radio buttons and
// Cancel.
#include "conditions/conditions_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "conditions/dialog_state.h"
#include "photo/preview_pane.h"
#include "shell/app_state.h"
#include "shell/settings_record.h"
#include "win/conditions/dialog_driver.h"

using namespace dialog_test;

namespace {

const char kCaption[] = "ファイル名変更条件設定";

class ConditionsDialog : public testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    App.Instance = GetModuleHandleA(nullptr);
    App.FieldColour = RGB(208, 240, 208);
    App.FieldBrush = CreateSolidBrush(App.FieldColour);
    App.FaceColour = GetSysColor(COLOR_BTNFACE);
    App.FaceBrush = CreateSolidBrush(App.FaceColour);
    MakeDefaultSettings(Settings);
    std::memset(&DialogState, 0, sizeof DialogState);
    // Kept by the previous opening: each opening must store its own.
    PreviousPaneProc = nullptr;
  }
  void TearDown() override {
    DeleteObject(App.FieldBrush);
    DeleteObject(App.FaceBrush);
    App.FieldBrush = App.FaceBrush = nullptr;
  }
};

TEST_F(ConditionsDialog, OpensFromTheRecordWithOkDisabledAndCancelReturnsZero) {
  strcpy(Settings.SourceFolder, "C:\\photo");
  strcpy(Settings.NamePart1, "Hawaii");
  Settings.SerialStep = 10;
  Settings.SeparatorKind = 2;
  Settings.AutoDate = 0;
  Settings.DatePosition = 3;
  Settings.ShowConfirmation = '0';
  RenameSettings before = Settings;
  INT_PTR result = RunDriven([] { return RunConditionsDialog(nullptr); },
                             [] {
                               HWND d = WaitForDialog(kCaption);
                               EXPECT_NE(d, nullptr);
                               if (d == nullptr) return;
                               EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDOK)));
                               EXPECT_EQ(Text(d, 1402), "C:\\photo");
                               EXPECT_EQ(Text(d, 1403), "PICT");
                               EXPECT_EQ(Text(d, 1404), "4");
                               EXPECT_EQ(Text(d, 1405), ".jpg");
                               EXPECT_EQ(Text(d, 1001), "0");
                               EXPECT_EQ(Text(d, 1002), "0");
                               EXPECT_EQ(Text(d, 1005), "Hawaii");
                               EXPECT_EQ(Text(d, 1006), "");
                               EXPECT_EQ(Text(d, 1007), "3");
                               EXPECT_EQ(Text(d, 1008), "1");
                               EXPECT_EQ(Text(d, 1411), "");
                               EXPECT_EQ(Text(d, 1412), "");
                               EXPECT_TRUE(Checked(d, 1107));
                               EXPECT_FALSE(Checked(d, 1106));
                               EXPECT_TRUE(Checked(d, 1103));
                               EXPECT_TRUE(Checked(d, 1112));
                               EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 1426)));
                               EXPECT_FALSE(Checked(d, 1429));
                               Click(d, IDCANCEL);
                               EXPECT_TRUE(WaitGone(d));
                             });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(std::memcmp(&Settings, &before, sizeof before), 0);
  EXPECT_EQ(DialogState.CurrentDatePosition, 3);
  EXPECT_STREQ(DialogState.CurrentFolder, "C:\\photo");
}

// The opening's own steps: the two fonts on their controls, the up-down's
// range, the pane handed to the preview procedure, and the focus on the
// folder field.
TEST_F(ConditionsDialog, OpeningSetsFontsSpinRangePaneAndFocus) {
  App.ButtonFont = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                               "ＭＳ ゴシック");
  App.NumberFont = CreateFontA(14, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                               "ＭＳ ゴシック");
  struct Seen {
    int id;
    HFONT font;
  };
  std::vector<Seen> fonts;
  LRESULT range = 0;
  WNDPROC paneProc = nullptr;
  HWND focus = nullptr;
  HWND folder = nullptr;
  RunDriven([] { return RunConditionsDialog(nullptr); },
            [&] {
              HWND d = WaitForDialog(kCaption);
              EXPECT_NE(d, nullptr);
              if (d == nullptr) return;
              for (int id : {1425, 1, 2, 1404, 1001, 1002, 1007, 1008, 1005, 1403})
                fonts.push_back({id, reinterpret_cast<HFONT>(
                                         SendMessageA(GetDlgItem(d, id), WM_GETFONT, 0, 0))});
              range = SendMessageA(GetDlgItem(d, 1422), UDM_GETRANGE, 0, 0);
              paneProc = reinterpret_cast<WNDPROC>(
                  GetWindowLongPtrA(GetDlgItem(d, 1431), GWLP_WNDPROC));
              GUITHREADINFO info = {};
              info.cbSize = sizeof info;
              GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &info);
              focus = info.hwndFocus;
              folder = GetDlgItem(d, 1402);
              Click(d, IDCANCEL);
              EXPECT_TRUE(WaitGone(d));
            });
  for (const Seen& s : fonts) {
    HFONT want = nullptr;
    if (s.id == 1425 || s.id == 1 || s.id == 2) want = App.ButtonFont;
    if (s.id == 1404 || s.id == 1001 || s.id == 1002 || s.id == 1007 || s.id == 1008)
      want = App.NumberFont;
    if (want != nullptr) {
      EXPECT_EQ(s.font, want) << s.id;
    } else {
      EXPECT_NE(s.font, App.ButtonFont) << s.id;
      EXPECT_NE(s.font, App.NumberFont) << s.id;
    }
  }
  EXPECT_EQ(LOWORD(range), 9) << "highest";
  EXPECT_EQ(HIWORD(range), 0) << "lowest";
  EXPECT_EQ(paneProc, &PreviewPaneProc);
  EXPECT_NE(PreviousPaneProc, nullptr);
  EXPECT_EQ(focus, folder);
  DeleteObject(App.ButtonFont);
  DeleteObject(App.NumberFont);
  App.ButtonFont = App.NumberFont = nullptr;
}

// A folder of this test's own, standing in for the chosen file's folder.
std::string TempFolder() {
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + "tessel-commit-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// A bitmap handed to the dialog as its preview once it is open.
HBITMAP MakePreview() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 6);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// The record as a successful choice of C:\...\PICT0100.jpg leaves the
// dialog: the dialog opens from it, OK is enabled as the choice does.
void PrepareCommit(const std::string& folder) {
  strcpy(Settings.SourceFolder, folder.c_str());
  strcpy(Settings.NamePart1, "Hawaii");
  Settings.SourceFirst = 100;
  Settings.SourceLast = 120;
  Settings.ShowConfirmation = '0';
  memset(Settings.Reserved, 'r', sizeof Settings.Reserved);
  Settings.WindowLeft = 321;
}

TEST_F(ConditionsDialog, CommitReplacesTheRecordAsAWholeAndFreesThePreview) {
  std::string folder = TempFolder();
  PrepareCommit(folder);
  RenameSettings before = Settings;
  HBITMAP preview = nullptr;
  INT_PTR result = RunDriven([] { return RunConditionsDialog(nullptr); },
                             [&preview] {
                               HWND d = WaitForDialog(kCaption);
                               EXPECT_NE(d, nullptr);
                               if (d == nullptr) return;
                               preview = MakePreview();
                               DialogState.PreviewBitmap = preview;
                               EnableWindow(GetDlgItem(d, IDOK), TRUE);
                               SetWindowTextA(GetDlgItem(d, 1006), "0502");
                               Click(d, IDOK);
                               EXPECT_TRUE(WaitGone(d));
                             });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(DialogState.PreviewBitmap, nullptr);
  EXPECT_EQ(GetObjectType(preview), 0u) << "the preview bitmap was deleted";
  EXPECT_STREQ(Settings.NamePart1, "Hawaii");
  EXPECT_STREQ(Settings.NamePart2, "0502");
  EXPECT_STREQ(Settings.Part1History[0], "Hawaii");
  EXPECT_STREQ(Settings.Part2History[0], "0502");
  EXPECT_STREQ(Settings.Part2History[1], "札幌");
  EXPECT_EQ(Settings.SourceFirst, 100);
  EXPECT_EQ(Settings.SourceLast, 120);
  EXPECT_EQ(Settings.ShowConfirmation, '0');
  // What the dialog does not show passes through.
  EXPECT_EQ(memcmp(Settings.Reserved, before.Reserved, sizeof before.Reserved), 0);
  EXPECT_EQ(Settings.WindowLeft, 321);
  EXPECT_EQ(Settings.FormatVersion, before.FormatVersion);
  RemoveDirectoryA(folder.c_str());
}

TEST_F(ConditionsDialog, CancelFreesThePreviewToo) {
  HBITMAP preview = nullptr;
  INT_PTR result = RunDriven([] { return RunConditionsDialog(nullptr); },
                             [&preview] {
                               HWND d = WaitForDialog(kCaption);
                               EXPECT_NE(d, nullptr);
                               if (d == nullptr) return;
                               preview = MakePreview();
                               DialogState.PreviewBitmap = preview;
                               Click(d, IDCANCEL);
                               EXPECT_TRUE(WaitGone(d));
                             });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(DialogState.PreviewBitmap, nullptr);
  EXPECT_EQ(GetObjectType(preview), 0u);
}

TEST_F(ConditionsDialog, ACommitDuringARenameIsRefusedFirstAndChangesNothing) {
  // Even a folder that does not exist is not looked at while a job runs.
  PrepareCommit("C:\\no\\such\\folder");
  RenameSettings before = Settings;
  SetRenameState(kRenameRunning);
  std::string text;
  bool stillOpen = false;
  INT_PTR result = RunDriven([] { return RunConditionsDialog(nullptr); },
                             [&] {
                               HWND d = WaitForDialog(kCaption);
                               EXPECT_NE(d, nullptr);
                               if (d == nullptr) return;
                               EnableWindow(GetDlgItem(d, IDOK), TRUE);
                               Click(d, IDOK);
                               // Found by its caption and error text.
                               HWND box = WaitForDialog("エラー");
                               EXPECT_NE(box, nullptr);
                               if (box == nullptr) return;
                               text = Text(box, 0xFFFF);
                               Click(box, IDOK);
                               EXPECT_TRUE(WaitGone(box));
                               // The box is gone before the dialog has
                               // finished the press that opened it: a click
                               // taken after it shows that it goes on.
                               stillOpen = ToggleMarker(d) && IsWindowVisible(d) != 0;
                               Click(d, IDCANCEL);
                               EXPECT_TRUE(WaitGone(d));
                             });
  SetRenameState(kRenameIdle);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(text, "改名処理の実行中です。処理が終わってから実行してください。  ");
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(memcmp(&Settings, &before, sizeof before), 0);
}

}  // namespace
