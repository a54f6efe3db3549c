// The conditions dialog in-process, from the real template 101: what it
// shows at opening for a given record, its colours, its radio buttons and
// Cancel.
#include "conditions/conditions_dialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "conditions/dialog_state.h"
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

}  // namespace
