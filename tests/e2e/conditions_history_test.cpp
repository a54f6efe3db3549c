// The histories of the name parts through the real Tessel.exe: the picker
// lists a history up to its first empty entry and picks on one click, and
// the commit moves a used value to the front or pushes the oldest out.
#include <windows.h>

#include <commctrl.h>

#include "e2e/conditions_fixture.h"

using namespace conditions_e2e;

namespace {

std::vector<std::string> Texts(const std::vector<ListRow>& rows) {
  std::vector<std::string> texts;
  for (const ListRow& row : rows) texts.push_back(row.Text);
  return texts;
}

// Clicks a row of the picker's list and waits for the picker to go.
void PickRow(HWND picker, int index) {
  HWND list = GetDlgItem(picker, 1401);
  RECT row = {};
  ASSERT_TRUE(ListItemRect(list, index, row));
  ClickAt(list, (row.left + row.right) / 2, (row.top + row.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, kEventWait));
}

TEST(ConditionsHistory, PickerListsUntilTheFirstEmptyEntryAndCommitsMoveValuesUp) {
  RenameSettings record = DefaultRecord();
  SetHistory(record.Part1History, {"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"});
  SetHistory(record.Part2History, {"b0", "b1", "", "b3"});
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("history", &record));
  std::string x = MakeSubFolder(t.Folder, "x");
  std::string y = MakeSubFolder(t.Folder, "y");
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(x, "X", 3, 1, 3, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(y, "Y", 2, 1, 2, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  size_t rows = t.Rows().size();

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(x, "X001.txt")));
  ASSERT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDOK); }, kEventWait));

  // Part 1: all ten entries, newest first; one click on entry 3 picks it.
  ClickButton(dialog, 1427);
  HWND picker = WaitForDialog(t.Pid(), kHistoryCaption, kEventWait);
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(Texts(ReadListRows(GetDlgItem(picker, 1401))),
            (std::vector<std::string>{"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"}));
  ASSERT_NO_FATAL_FAILURE(PickRow(picker, 3));
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, 1005) == "a3"; }, kEventWait));

  // Part 2: the list stops at the empty entry 2, so b3 is not offered.
  ClickButton(dialog, 1428);
  picker = WaitForDialog(t.Pid(), kHistoryCaption, kEventWait);
  ASSERT_NE(picker, nullptr);
  HWND list = GetDlgItem(picker, 1401);
  EXPECT_EQ(Texts(ReadListRows(list)), (std::vector<std::string>{"b0", "b1"}));
  // A click below the rows and Enter pick nothing; only Cancel ends it.
  RECT last = {};
  ASSERT_TRUE(ListItemRect(list, 1, last));
  ClickAt(list, (last.left + last.right) / 2, last.bottom + 30);
  PressKey(picker, VK_RETURN);
  // A column width posted after them is taken only after them: once it is
  // seen, the picker has handled both and is still open.
  PostMessageA(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(77, 0));
  EXPECT_TRUE(WaitUntil(
      [&] {
        LRESULT width = 0;
        return Ask(list, LVM_GETCOLUMNWIDTH, 0, 0, "LVM_GETCOLUMNWIDTH", &width) && width == 77;
      },
      kEventWait));
  EXPECT_TRUE(IsWindowVisible(picker));
  ClickButton(picker, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, kEventWait));
  EXPECT_EQ(ItemText(dialog, 1006), "");

  ClickButton(dialog, 1428);
  picker = WaitForDialog(t.Pid(), kHistoryCaption, kEventWait);
  ASSERT_NE(picker, nullptr);
  ASSERT_NO_FATAL_FAILURE(PickRow(picker, 1));
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, 1006) == "b1"; }, kEventWait));

  ClickButton(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_TRUE(t.WaitForRenameEnd(rows, 30000));
  EXPECT_TRUE(FileExists(JoinPath(x, "a3_b1_003.txt")));
  rows = t.Rows().size();

  // A value that is in no history pushes the oldest entry out.
  dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(y, "Y01.txt")));
  ASSERT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDOK); }, kEventWait));
  SetItemText(dialog, 1005, "new");
  SetItemText(dialog, 1006, "b1");
  ClickButton(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_TRUE(t.WaitForRenameEnd(rows, 30000));
  EXPECT_TRUE(FileExists(JoinPath(y, "new_b1_002.txt")));

  // The picker now offers the committed order.
  dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ClickButton(dialog, 1427);
  picker = WaitForDialog(t.Pid(), kHistoryCaption, kEventWait);
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(Texts(ReadListRows(GetDlgItem(picker, 1401))),
            (std::vector<std::string>{"new", "a3", "a0", "a1", "a2", "a4", "a5", "a6", "a7", "a8"}));
  ClickButton(picker, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, kEventWait));
  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());

  RenameSettings s = t.ReadIni();
  EXPECT_EQ(HistoryEntries(s.Part1History),
            (std::vector<std::string>{"new", "a3", "a0", "a1", "a2", "a4", "a5", "a6", "a7", "a8"}));
  EXPECT_EQ(HistoryEntries(s.Part2History),
            (std::vector<std::string>{"b1", "b0", "", "b3", "", "", "", "", "", ""}));
}

}  // namespace
