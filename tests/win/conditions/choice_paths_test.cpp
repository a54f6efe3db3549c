// The conditions dialog in-process, with files chosen through the real file
// chooser: the ways out that change nothing (the chooser cancelled, a refused
// choice, the confirmation cancelled), the preview pane that shows only the
// accepted choice's picture, and the capture-date texts that stay known after
// the dialog has ended.
#include "conditions/conditions_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "conditions/dialog_state.h"
#include "shell/app_state.h"
#include "shell/settings_record.h"
#include "win/conditions/dialog_driver.h"
#include "win/engine/temp_files.h"

using namespace dialog_test;

namespace {

const char kCaption[] = "ファイル名変更条件設定";
const int kShownControls[] = {1402, 1403, 1404, 1405, 1001, 1002, 1411, 1412, 1005, 1006};

class ChoicePaths : public testing::Test {
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
    SetRenameState(kRenameIdle);
  }
  void TearDown() override {
    DeleteObject(App.FieldBrush);
    DeleteObject(App.FaceBrush);
    App.FieldBrush = App.FaceBrush = nullptr;
  }
};

std::vector<std::string> Shown(HWND d) {
  std::vector<std::string> texts;
  for (int id : kShownControls) texts.push_back(Text(d, id));
  return texts;
}

// The JPEG files made at build time lie in test-photos/ beside bin/.
std::string TestPhoto(const char* name) {
  char exe[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string path = exe;
  path.erase(path.find_last_of('\\'));
  path.erase(path.find_last_of('\\'));
  return path + "\\test-photos\\" + name;
}

// Chooses a file that is refused; answers the box and waits until the
// dialog has taken a later click. The box's text, or "" when none came.
std::string ChooseRefused(HWND d, const std::string& path) {
  Click(d, 1425);
  if (!ChooseInChooser(path)) return "";
  HWND box = WaitForDialog("条件設定");
  if (box == nullptr) return "";
  std::string text = Text(box, 0xFFFF);
  Click(box, IDOK);
  if (!WaitGone(box) || !ToggleMarker(d)) return "";
  return text;
}

TEST_F(ChoicePaths, TheChooserCancelledAndARefusedChoiceChangeNothing) {
  testfiles::Folder dir("choice");
  for (const char* name : {"B007.txt", "B008.txt", "B009.txt"})
    ASSERT_TRUE(testfiles::Write(dir.Path, name, name));
  // The refused files lie in another folder, as a camera's next folder does.
  testfiles::Folder other("refused");
  const std::string longCommon(43, 'c');
  for (std::string name : {std::string("A0000000001.txt"), longCommon + "1.txt"})
    ASSERT_TRUE(testfiles::Write(other.Path, name, "x"));
  std::vector<std::string> afterChoice, afterCancel, afterTooManyDigits, afterLongCommon;
  std::vector<std::string> boxes;
  std::string folderAfterRefusals;
  bool okEnabled = false;
  INT_PTR result = RunDriven(
      [] { return RunConditionsDialog(nullptr); },
      [&] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(d, nullptr);
        Click(d, 1425);
        ASSERT_TRUE(ChooseInChooser(dir.Path + "\\B008.txt"));
        ASSERT_TRUE(WaitForText(d, 1412, "（最大番号：9）"));
        SetWindowTextA(GetDlgItem(d, 1005), "keep1");
        SetWindowTextA(GetDlgItem(d, 1006), "keep2");
        afterChoice = Shown(d);

        // The chooser opened and cancelled.
        Click(d, 1425);
        HWND chooser = WaitForDialog("ファイルの選択");
        ASSERT_NE(chooser, nullptr);
        Click(chooser, IDCANCEL);
        ASSERT_TRUE(WaitGone(chooser));
        ASSERT_TRUE(ToggleMarker(d));
        EXPECT_EQ(WaitForDialog("条件設定", 0), nullptr) << "no message after a cancel";
        afterCancel = Shown(d);

        // Refused choices: ten digits, then a 43-byte common part. Each says
        // why in a box and leaves the job of the accepted choice whole.
        for (std::string name : {std::string("A0000000001.txt"), longCommon + "1.txt"}) {
          boxes.push_back(ChooseRefused(d, other.Path + "\\" + name));
          (name[0] == 'A' ? afterTooManyDigits : afterLongCommon) = Shown(d);
        }
        folderAfterRefusals = DialogState.CurrentFolder;
        okEnabled = IsWindowEnabled(GetDlgItem(d, IDOK)) != 0;
        Click(d, IDCANCEL);
        EXPECT_TRUE(WaitGone(d));
      });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(afterChoice, (std::vector<std::string>{dir.Path, "B", "3", ".txt", "8", "9",
                                                   "（最小番号：7）", "（最大番号：9）", "keep1",
                                                   "keep2"}));
  EXPECT_EQ(afterCancel, afterChoice);
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       "元ファイル名の連番部が９桁を超えるため処理できません。",
                       "元ファイルの共通部名が４２文字を超えるため処理できません。"}));
  EXPECT_EQ(afterTooManyDigits, afterChoice);
  EXPECT_EQ(afterLongCommon, afterChoice);
  EXPECT_EQ(folderAfterRefusals, dir.Path);
  EXPECT_TRUE(okEnabled);
}

// How many of the pane's pixels on the screen are not the face colour.
int NonFacePixels(HWND pane) {
  RECT r;
  GetClientRect(pane, &r);
  HDC dc = GetDC(pane);
  int other = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) other += GetPixel(dc, x, y) != App.FaceColour;
  ReleaseDC(pane, dc);
  return other;
}

TEST_F(ChoicePaths, ThePaneShowsOnlyThePictureOfTheAcceptedChoice) {
  testfiles::Folder dir("pane");
  ASSERT_TRUE(CopyFileA(TestPhoto("small-40x30.jpg").c_str(), (dir.Path + "\\P001.jpg").c_str(),
                        FALSE));
  ASSERT_TRUE(testfiles::Write(dir.Path, "Q001.txt", "q"));
  ASSERT_TRUE(testfiles::Write(dir.Path, "P0000000001.jpg", "x"));
  Settings.AutoDate = 0;
  HBITMAP picture = nullptr;
  bool shown = false, keptByRefusal = false, emptied = false, freed = false, faceOnly = false;
  INT_PTR result = RunDriven(
      [] { return RunConditionsDialog(nullptr); },
      [&] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(d, nullptr);
        Click(d, 1425);
        ASSERT_TRUE(ChooseInChooser(dir.Path + "\\P001.jpg"));
        ASSERT_TRUE(WaitFor([] { return DialogState.PreviewBitmap != nullptr; }));
        picture = DialogState.PreviewBitmap;
        // The photo on the screen first: a pane never painted shows the face
        // colour alone too.
        HWND pane = GetDlgItem(d, 1431);
        shown = WaitFor([pane] { return NonFacePixels(pane) > 0; });

        // A refused choice keeps the accepted file's picture.
        ASSERT_NE(ChooseRefused(d, dir.Path + "\\P0000000001.jpg"), "");
        keptByRefusal = DialogState.PreviewBitmap == picture &&
                        GetObjectType(picture) == OBJ_BITMAP;

        // An accepted file that is not a photo empties the pane: on the
        // screen, only the face colour is left.
        Click(d, 1425);
        ASSERT_TRUE(ChooseInChooser(dir.Path + "\\Q001.txt"));
        ASSERT_TRUE(WaitForText(d, 1405, ".txt"));
        ASSERT_TRUE(ToggleMarker(d));
        emptied = DialogState.PreviewBitmap == nullptr;
        freed = GetObjectType(picture) == 0;
        faceOnly = WaitFor([pane] { return NonFacePixels(pane) == 0; });
        Click(d, IDCANCEL);
        EXPECT_TRUE(WaitGone(d));
      });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(shown) << "the photo never reached the screen";
  EXPECT_TRUE(keptByRefusal);
  EXPECT_TRUE(emptied);
  EXPECT_TRUE(freed) << "the earlier picture is freed";
  EXPECT_TRUE(faceOnly) << "the photo's pixels stayed on the screen";
}

TEST_F(ChoicePaths, CancelInTheConfirmationKeepsTheDialogOpenAndStoresNothing) {
  testfiles::Folder dir("confirm");
  for (const char* name : {"R01.txt", "R02.txt"}) ASSERT_TRUE(testfiles::Write(dir.Path, name, name));
  RenameSettings before = Settings;
  std::string confirmName;
  bool openAfterCancel = false;
  int confirmations = 0;
  INT_PTR result = RunDriven(
      [] { return RunConditionsDialog(nullptr); },
      [&] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(d, nullptr);
        Click(d, 1425);
        ASSERT_TRUE(ChooseInChooser(dir.Path + "\\R01.txt"));
        ASSERT_TRUE(WaitForText(d, 1002, "2"));
        SetWindowTextA(GetDlgItem(d, 1005), "typed");
        ASSERT_TRUE(Checked(d, 1429));
        // Twice: the dialog stays usable after the first Cancel.
        for (int round = 0; round < 2; ++round) {
          Click(d, IDOK);
          HWND confirm = WaitForDialog("確認画面");
          ASSERT_NE(confirm, nullptr);
          confirmations += 1;
          confirmName = Text(confirm, 1401);
          Click(confirm, IDCANCEL);
          ASSERT_TRUE(WaitGone(confirm));
          // Had the commit gone on and ended the dialog, this click would
          // never be taken.
          ASSERT_TRUE(ToggleMarker(d));
          ASSERT_TRUE(ToggleMarker(d));
        }
        openAfterCancel = IsWindowVisible(d) != 0;
        Click(d, IDCANCEL);
        EXPECT_TRUE(WaitGone(d));
      });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(confirmations, 2);
  EXPECT_EQ(confirmName, "typed_001");
  EXPECT_TRUE(openAfterCancel);
  // Not the folder, the name part, nor its history.
  EXPECT_EQ(std::memcmp(&Settings, &before, sizeof before), 0);
  EXPECT_STREQ(Settings.Part1History[0], "北海道旅行");
  EXPECT_STREQ(Settings.NamePart1, "");
}

TEST_F(ChoicePaths, CaptureDateTextsStayKnownAcrossOpenings) {
  testfiles::Folder dir("autoset");
  std::string photo = dir.Path + "\\PICT0105.jpg";
  ASSERT_TRUE(CopyFileA(TestPhoto("camera-ii.jpg").c_str(), photo.c_str(), FALSE));
  Settings.ShowConfirmation = '0';
  INT_PTR first = RunDriven(
      [] { return RunConditionsDialog(nullptr); },
      [&] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(d, nullptr);
        Click(d, 1425);
        ASSERT_TRUE(ChooseInChooser(photo));
        ASSERT_TRUE(WaitForText(d, 1006, "0502"));
        EXPECT_EQ(Text(d, 1005), "2011");
        ASSERT_TRUE(ToggleMarker(d));
        ASSERT_TRUE(ToggleMarker(d));
        Click(d, IDOK);
        EXPECT_TRUE(WaitGone(d));
      });
  EXPECT_EQ(first, 1);
  EXPECT_STREQ(DialogState.AutoSetPart1, "2011");
  EXPECT_STREQ(DialogState.AutoSetPart2, "0502");
  // Committed untouched: neither history took the date.
  EXPECT_STREQ(Settings.Part1History[0], "北海道旅行");
  EXPECT_STREQ(Settings.Part2History[0], "札幌");

  // The next opening shows the committed date, and what the capture-date
  // step set is still known: opening the dialog does not forget it.
  std::string part1, part2;
  INT_PTR second = RunDriven([] { return RunConditionsDialog(nullptr); },
                             [&] {
                               HWND d = WaitForDialog(kCaption);
                               ASSERT_NE(d, nullptr);
                               part1 = Text(d, 1005);
                               part2 = Text(d, 1006);
                               Click(d, IDCANCEL);
                               EXPECT_TRUE(WaitGone(d));
                             });
  EXPECT_EQ(second, 0);
  EXPECT_EQ(part1, "2011");
  EXPECT_EQ(part2, "0502");
  EXPECT_STREQ(DialogState.AutoSetPart1, "2011");
  EXPECT_STREQ(DialogState.AutoSetPart2, "0502");
}

}  // namespace
