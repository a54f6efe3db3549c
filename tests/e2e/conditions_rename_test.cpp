// The conditions dialog of the real Tessel.exe, from opening to a finished
// rename: the first help example, the OK button's enabling, a refused choice
// in a camera's next folder, Cancel, and a confirmation while a rename runs.
#include <shlobj.h>

#include "e2e/conditions_fixture.h"

using namespace conditions_e2e;

namespace {

TEST(ConditionsRename, FirstHelpExampleRenamesTheRunFrom105) {
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("help"));
  std::string photos = MakeSubFolder(t.Folder, "photos");
  ASSERT_NO_FATAL_FAILURE(
      MakeNumberedFiles(photos, "PICT", 4, 100, 120, ".jpg", TestPhoto("camera-ii.jpg")));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  size_t startRows = t.Rows().size();

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  // The default record: layout 0, separator "_", 3 digits from 1, step 1.
  EXPECT_EQ(ItemText(dialog, 1007), "3");
  EXPECT_EQ(ItemText(dialog, 1008), "1");
  EXPECT_TRUE(IsButtonChecked(dialog, 1101));
  EXPECT_TRUE(IsButtonChecked(dialog, 1106));
  EXPECT_TRUE(IsButtonChecked(dialog, 1111));
  EXPECT_TRUE(IsButtonChecked(dialog, 1429));

  ASSERT_TRUE(t.Choose(dialog, JoinPath(photos, "PICT0105.jpg")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1006) == "0502"; }, kEventWait));
  EXPECT_EQ(ItemText(dialog, 1402), photos);
  EXPECT_EQ(ItemText(dialog, 1403), "PICT");
  EXPECT_EQ(ItemText(dialog, 1404), "4");
  EXPECT_EQ(ItemText(dialog, 1405), ".jpg");
  EXPECT_EQ(ItemText(dialog, 1001), "105");
  EXPECT_EQ(ItemText(dialog, 1002), "120");
  EXPECT_EQ(ItemText(dialog, 1411), "（最小番号：100）");
  EXPECT_EQ(ItemText(dialog, 1412), "（最大番号：120）");
  EXPECT_EQ(ItemText(dialog, 1005), "2011");
  EXPECT_EQ(ControlId(FocusWindow(t.Thread())), 1005);
  EXPECT_TRUE(IsItemEnabled(dialog, IDOK));

  ClickButton(dialog, IDOK);
  HWND confirm = WaitForDialog(t.Pid(), kConfirmCaption, kEventWait);
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(ItemText(confirm, 1401), "2011_0502_001");
  EXPECT_EQ(ItemText(confirm, 1402), "から始まります。");
  ClickButton(confirm, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_TRUE(t.WaitForRenameEnd(startRows, 30000));

  std::vector<ListRow> rows = t.Rows();
  ASSERT_EQ(rows.size(), startRows + 19);
  EXPECT_EQ(rows[startRows].Class, 'c');
  EXPECT_EQ(rows[startRows].Text,
            LogText("リネーム開始　元ファイル開始番号：105  終了番号：120  フォルダ：" + photos));
  for (int i = 0; i < 16; ++i) {
    char oldName[32], newName[32], text[96];
    wsprintfA(oldName, "PICT%04d.jpg", 105 + i);
    wsprintfA(newName, "2011_0502_%03d.jpg", 1 + i);
    wsprintfA(text, " %s -> %s  ＯＫ", oldName, newName);
    EXPECT_EQ(rows[startRows + 1 + i].Class, 'I') << i;
    EXPECT_EQ(rows[startRows + 1 + i].Text, text) << i;
    EXPECT_FALSE(FileExists(JoinPath(photos, oldName))) << oldName;
    EXPECT_TRUE(FileExists(JoinPath(photos, newName))) << newName;
  }
  EXPECT_EQ(rows[startRows + 1].Text, " PICT0105.jpg -> 2011_0502_001.jpg  ＯＫ");
  EXPECT_EQ(rows[startRows + 16].Text, " PICT0120.jpg -> 2011_0502_016.jpg  ＯＫ");
  EXPECT_EQ(rows[startRows + 17].Text, " リネーム結果  成功数 = 16  失敗数 = 0");
  EXPECT_EQ(rows[startRows + 18].Text, " リネーム終了");
  EXPECT_EQ(rows[startRows + 18].Class, 'c');
  for (int n = 100; n < 105; ++n) {
    char name[32];
    wsprintfA(name, "PICT%04d.jpg", n);
    EXPECT_TRUE(FileExists(JoinPath(photos, name))) << "files below the start stay: " << name;
  }

  ASSERT_NO_FATAL_FAILURE(t.Quit());
  RenameSettings s = t.ReadIni();
  EXPECT_STREQ(s.SourceFolder, photos.c_str());
  EXPECT_STREQ(s.SourceCommonPart, "PICT");
  EXPECT_STREQ(s.SourceExtension, ".jpg");
  EXPECT_EQ(s.SourceDigits, 4);
  EXPECT_EQ(s.SourceFirst, 105);
  EXPECT_EQ(s.SourceLast, 120);
  EXPECT_STREQ(s.NamePart1, "2011");
  EXPECT_STREQ(s.NamePart2, "0502");
  EXPECT_EQ(s.SerialDigits, 3);
  EXPECT_EQ(s.SerialStart, 1);
  EXPECT_EQ(s.SerialStep, 1);
  EXPECT_EQ(s.SeparatorKind, 0);
  EXPECT_EQ(s.AutoDate, 1);
  EXPECT_EQ(s.DatePosition, 0);
  EXPECT_EQ(s.ShowConfirmation, '1');
  // The capture date went in untouched, so neither history took it.
  EXPECT_EQ(HistoryEntries(s.Part1History),
            (std::vector<std::string>{"北海道旅行", "ヨーロッパ旅行", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(HistoryEntries(s.Part2History),
            (std::vector<std::string>{"札幌", "函館", "", "", "", "", "", "", "", ""}));
}

TEST(ConditionsRename, OkStartsDisabledAndOnlyAnAcceptedChoiceEnablesIt) {
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("okbutton"));
  std::string files = MakeSubFolder(t.Folder, "files");
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(files, "A", 10, 1, 1, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(files, "B", 3, 7, 9, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsItemEnabled(dialog, IDOK));
  // A press that reaches the dialog anyway commits nothing: once a click
  // posted after it has been taken, no box or confirmation has opened.
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(ToggleMarker(dialog));
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(OtherDialogs(t.Pid(), dialog), 0);
  ASSERT_TRUE(ToggleMarker(dialog));

  // A number part of 10 digits is refused and leaves OK disabled.
  ClickButton(dialog, 1425);
  ASSERT_TRUE(ChooseFileInOpenDialog(t.Pid(), kChooserCaption, JoinPath(files, "A0000000001.txt"),
                                     kEventWait));
  Box box = t.TakeBox(dialog);
  EXPECT_EQ(box.Caption, kChoiceCaption);
  EXPECT_EQ(box.Text, "元ファイル名の連番部が９桁を超えるため処理できません。");
  EXPECT_TRUE(box.Icon);
  EXPECT_FALSE(IsItemEnabled(dialog, IDOK));

  ASSERT_TRUE(t.Choose(dialog, JoinPath(files, "B008.txt")));
  EXPECT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDOK); }, kEventWait));
  EXPECT_EQ(ItemText(dialog, 1001), "8");
  EXPECT_EQ(ItemText(dialog, 1002), "9");
  EXPECT_EQ(ItemText(dialog, 1411), "（最小番号：7）");

  // Once enabled, a later refused choice does not disable it again.
  ClickButton(dialog, 1425);
  ASSERT_TRUE(ChooseFileInOpenDialog(t.Pid(), kChooserCaption, JoinPath(files, "A0000000001.txt"),
                                     kEventWait));
  t.TakeBox(dialog);
  EXPECT_TRUE(IsItemEnabled(dialog, IDOK));

  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  // Each opening starts disabled again.
  dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsItemEnabled(dialog, IDOK));
  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
}

// Names and bytes of every file in a folder.
std::vector<std::pair<std::string, std::vector<unsigned char>>> FolderContent(
    const std::string& folder) {
  std::vector<std::pair<std::string, std::vector<unsigned char>>> content;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return content;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    std::vector<unsigned char> bytes;
    ReadFileBytes(JoinPath(folder, name), bytes);
    content.emplace_back(name, bytes);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return content;
}

TEST(ConditionsRename, ARefusedChoiceInTheNextFolderLeavesTheAcceptedJobWhole) {
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("nextfolder"));
  // A camera's two folders, numbered alike.
  std::string x = MakeSubFolder(t.Folder, "100CAMER");
  std::string y = MakeSubFolder(t.Folder, "101CAMER");
  ASSERT_NO_FATAL_FAILURE(
      MakeNumberedFiles(x, "PICT", 4, 100, 103, ".jpg", TestPhoto("camera-ii.jpg")));
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(y, "PICT", 4, 100, 103, ".jpg", ""));
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(y, "PICT", 10, 1, 1, ".jpg", ""));
  auto yBefore = FolderContent(y);
  ASSERT_EQ(yBefore.size(), 5u);
  ASSERT_NO_FATAL_FAILURE(t.Start());
  size_t startRows = t.Rows().size();

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(x, "PICT0102.jpg")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1006) == "0502"; }, kEventWait));
  ASSERT_TRUE(t.Choose(dialog, JoinPath(y, "PICT0000000001.jpg")));
  Box box = t.TakeBox(dialog);
  EXPECT_EQ(box.Text, "元ファイル名の連番部が９桁を超えるため処理できません。");
  // The dialog still shows the job of the accepted choice, whole.
  EXPECT_EQ(ItemText(dialog, 1402), x);
  EXPECT_EQ(ItemText(dialog, 1403), "PICT");
  EXPECT_EQ(ItemText(dialog, 1405), ".jpg");
  EXPECT_EQ(ItemText(dialog, 1001), "102");
  EXPECT_EQ(ItemText(dialog, 1002), "103");

  ClickButton(dialog, IDOK);
  HWND confirm = WaitForDialog(t.Pid(), kConfirmCaption, kEventWait);
  ASSERT_NE(confirm, nullptr);
  ClickButton(confirm, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_TRUE(t.WaitForRenameEnd(startRows, 30000));
  EXPECT_EQ(t.Rows()[startRows].Text,
            LogText("リネーム開始　元ファイル開始番号：102  終了番号：103  フォルダ：" + x));
  for (const char* name : {"PICT0100.jpg", "PICT0101.jpg", "2011_0502_001.jpg", "2011_0502_002.jpg"})
    EXPECT_TRUE(FileExists(JoinPath(x, name))) << name;
  EXPECT_FALSE(FileExists(JoinPath(x, "PICT0102.jpg")));
  EXPECT_TRUE(FolderContent(y) == yBefore) << "the other folder is untouched";
  ASSERT_NO_FATAL_FAILURE(t.Quit());
}

TEST(ConditionsRename, APhotoWithoutCaptureDateIsSaidSoAndLeavesThePartsEmpty) {
  RenameSettings record = DefaultRecord();
  strcpy(record.NamePart1, "old1");
  strcpy(record.NamePart2, "old2");
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("nodate", &record));
  std::string photos = MakeSubFolder(t.Folder, "photos");
  std::string photo = JoinPath(photos, "IMG_A.jpg");
  ASSERT_TRUE(CopyFileA(TestPhoto("no-exif.jpg").c_str(), photo.c_str(), FALSE));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1005), "old1");
  ClickButton(dialog, 1425);
  ASSERT_TRUE(ChooseFileInOpenDialog(t.Pid(), kChooserCaption, photo, kEventWait));
  Box box = t.TakeBox(dialog);
  EXPECT_EQ(box.Caption, kChoiceCaption);
  EXPECT_EQ(box.Text, "撮影日は不明です。  ");
  EXPECT_FALSE(box.Icon);
  // The choice itself stands: a name without number, parts emptied.
  EXPECT_TRUE(IsItemEnabled(dialog, IDOK));
  EXPECT_EQ(ItemText(dialog, 1005), "");
  EXPECT_EQ(ItemText(dialog, 1006), "");
  EXPECT_EQ(ItemText(dialog, 1403), "IMG_A");
  EXPECT_EQ(ItemText(dialog, 1404), "0");
  EXPECT_EQ(ItemText(dialog, 1001), "");
  EXPECT_EQ(ItemText(dialog, 1002), "");
  EXPECT_FALSE(IsItemEnabled(dialog, 1001));
  EXPECT_FALSE(IsItemEnabled(dialog, 1002));

  // Automatic dating off: the same photo gives no message at all.
  ClickButton(dialog, 1112);
  ASSERT_TRUE(WaitUntil([&] { return IsButtonChecked(dialog, 1112); }, kEventWait));
  EXPECT_FALSE(IsButtonChecked(dialog, 1111));
  EXPECT_FALSE(IsItemEnabled(dialog, 1426));
  ASSERT_TRUE(t.Choose(dialog, photo));
  // Once a click posted after the choice has been taken, the choice's
  // reaction is over, and a box it had opened would be open now.
  ASSERT_TRUE(ToggleMarker(dialog));
  EXPECT_EQ(OtherDialogs(t.Pid(), dialog), 0);
  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
}

// The chooser opens in the folder of the last choice, or in the documents
// folder when there is none: a bare file name typed there is found in it.
TEST(ConditionsRename, ChooserStartsInTheCurrentFolderElseInTheDocuments) {
  char documents[MAX_PATH] = "";
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE));
  std::string docFile = JoinPath(documents, "DOC4242.txt");
  ASSERT_TRUE(WriteFileBytes(docFile, "", 0));
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("initial"));
  std::string files = MakeSubFolder(t.Folder, "files");
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(files, "F", 2, 1, 5, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ClickButton(dialog, 1425);
  HWND chooser = WaitForDialog(t.Pid(), kChooserCaption, kEventWait);
  ASSERT_NE(chooser, nullptr);
  // Two filters, the photo filter selected.
  LRESULT count = -1, selected = -1;
  Ask(GetDlgItem(chooser, 0x470), CB_GETCOUNT, 0, 0, "CB_GETCOUNT", &count);
  Ask(GetDlgItem(chooser, 0x470), CB_GETCURSEL, 0, 0, "CB_GETCURSEL", &selected);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(selected, 0);
  ASSERT_TRUE(ChooseFileInOpenDialog(t.Pid(), kChooserCaption, "DOC4242.txt", kEventWait));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1403) == "DOC"; }, kEventWait));
  EXPECT_EQ(ItemText(dialog, 1402), documents);
  DeleteFileA(docFile.c_str());

  ASSERT_TRUE(t.Choose(dialog, JoinPath(files, "F03.txt")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1001) == "3"; }, kEventWait));
  ASSERT_TRUE(t.Choose(dialog, "F04.txt"));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1001) == "4"; }, kEventWait));
  EXPECT_EQ(ItemText(dialog, 1402), files);
  EXPECT_EQ(ItemText(dialog, 1002), "5");
  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
}

TEST(ConditionsRename, CancelLeavesTheRecordAsItWasAfterALayoutChange) {
  RenameSettings record = DefaultRecord();
  record.DatePosition = 2;
  record.SerialDigits = 5;
  record.SerialStep = 10;
  record.SeparatorKind = 1;
  strcpy(record.NamePart1, "Hawaii");
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("cancel", &record));
  std::string photos = MakeSubFolder(t.Folder, "photos");
  ASSERT_NO_FATAL_FAILURE(
      MakeNumberedFiles(photos, "DSC", 5, 2200, 2202, ".JPG", TestPhoto("camera-mm.jpg")));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1005), "Hawaii");
  EXPECT_TRUE(IsButtonChecked(dialog, 1107));
  EXPECT_TRUE(IsButtonChecked(dialog, 1102));
  EXPECT_FALSE(IsButtonChecked(dialog, 1429));

  // Layout 2 is row 1103; choose row 1105 (month and day into part 2).
  ClickButton(dialog, 1426);
  HWND layout = WaitForDialog(t.Pid(), kLayoutCaption, kEventWait);
  ASSERT_NE(layout, nullptr);
  EXPECT_TRUE(IsButtonChecked(layout, 1103));
  ClickButton(layout, 1105);
  EXPECT_TRUE(WaitUntil([&] { return IsButtonChecked(layout, 1105); }, kEventWait));
  EXPECT_FALSE(IsButtonChecked(layout, 1103));
  ClickButton(layout, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(layout); }, kEventWait));

  // The new layout applies to the next photo: part 1 stays empty.
  ASSERT_TRUE(t.Choose(dialog, JoinPath(photos, "DSC02200.JPG")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1006) == "0502"; }, kEventWait));
  EXPECT_EQ(ItemText(dialog, 1005), "");
  EXPECT_EQ(ItemText(dialog, 1403), "DSC");
  EXPECT_EQ(ItemText(dialog, 1405), ".JPG");

  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  // The layout dialog opens from the record again, not from the cancelled
  // change.
  dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ClickButton(dialog, 1426);
  layout = WaitForDialog(t.Pid(), kLayoutCaption, kEventWait);
  ASSERT_NE(layout, nullptr);
  EXPECT_TRUE(IsButtonChecked(layout, 1103));
  ClickButton(layout, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(layout); }, kEventWait));
  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  EXPECT_TRUE(FileExists(JoinPath(photos, "DSC02200.JPG")));
  ASSERT_NO_FATAL_FAILURE(t.Quit());

  RenameSettings s = t.ReadIni();
  // Start-up sets the range to 0; nothing else may differ.
  record.SourceFirst = record.SourceLast = 0;
  EXPECT_TRUE(SameChoices(s, record));
  EXPECT_EQ(s.DatePosition, 2);
}

TEST(ConditionsRename, AConfirmationWhileARenameRunsIsRefused) {
  RenameSettings record = DefaultRecord();
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("running", &record));
  std::string first = MakeSubFolder(t.Folder, "first");
  std::string second = MakeSubFolder(t.Folder, "second");
  // 120 files: a pause of 50 ms after each keeps the job running for
  // several seconds.
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(first, "R", 4, 1, 120, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(second, "S", 2, 1, 3, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  size_t startRows = t.Rows().size();

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(first, "R0001.txt")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1002) == "120"; }, kEventWait));
  SetItemText(dialog, 1005, "first");
  ClickButton(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));

  // While it runs, the menu opens the dialog again; its OK is refused.
  dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(second, "S01.txt")));
  ASSERT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDOK); }, kEventWait));
  SetItemText(dialog, 1005, "second");
  std::vector<ListRow> rows = t.Rows();
  ASSERT_NE(rows.back().Text, LogText("リネーム終了")) << "the first job ended too soon";
  Box box = t.PressForBox(dialog, IDOK);
  EXPECT_EQ(box.Caption, kErrorCaption);
  EXPECT_EQ(box.Text, "改名処理の実行中です。処理が終わってから実行してください。  ");
  EXPECT_TRUE(box.Icon);
  EXPECT_TRUE(IsWindowVisible(dialog));

  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_TRUE(t.WaitForRenameEnd(startRows, 60000));
  // One job ran: 120 files of the first folder, none of the second.
  rows = t.Rows();
  EXPECT_EQ(rows.size(), startRows + 123);
  EXPECT_TRUE(FileExists(JoinPath(first, "first_120.txt")));
  EXPECT_TRUE(FileExists(JoinPath(second, "S01.txt")));
  EXPECT_FALSE(FileExists(JoinPath(second, "second_001.txt")));

  // After the end, the same choice commits and its job runs.
  startRows = rows.size();
  dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(second, "S01.txt")));
  ASSERT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDOK); }, kEventWait));
  SetItemText(dialog, 1005, "second");
  ClickButton(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_TRUE(t.WaitForRenameEnd(startRows, 30000));
  EXPECT_TRUE(FileExists(JoinPath(second, "second_003.txt")));

  ASSERT_NO_FATAL_FAILURE(t.Quit());
  RenameSettings s = t.ReadIni();
  EXPECT_STREQ(s.NamePart1, "second");
  EXPECT_EQ(HistoryEntries(s.Part1History)[0], "second");
  EXPECT_EQ(HistoryEntries(s.Part1History)[1], "first");
}

}  // namespace
