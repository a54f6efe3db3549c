// The three sub-dialogs in-process, from their real templates, each run
// modally and driven from a second thread; and the conditions dialog's
// reactions that open them or only change its own controls.
#include "conditions/sub_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "conditions/conditions_dialog.h"
#include "conditions/dialog_state.h"
#include "shell/app_state.h"
#include "shell/settings_record.h"
#include "win/conditions/dialog_driver.h"

using namespace dialog_test;

namespace {

const char kLayoutCaption[] = "撮影日詳細";
const char kHistoryCaption[] = "履歴から入力";
const char kConfirmCaption[] = "確認画面";
const char kConditionsCaption[] = "ファイル名変更条件設定";
const COLORREF kFieldColour = RGB(208, 240, 208);

class SubDialogs : public testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    App.Instance = GetModuleHandleA(nullptr);
    App.FieldColour = kFieldColour;
    App.FieldBrush = CreateSolidBrush(App.FieldColour);
    App.FaceColour = GetSysColor(COLOR_BTNFACE);
    App.FaceBrush = CreateSolidBrush(App.FaceColour);
    MakeDefaultSettings(Settings);
    std::memset(&DialogState, 0, sizeof DialogState);
    std::strcpy(ExchangeText, "untouched");
  }
  void TearDown() override {
    DeleteObject(App.FieldBrush);
    DeleteObject(App.FaceBrush);
    App.FieldBrush = App.FaceBrush = nullptr;
  }
};

void SetHistory(char (&history)[kHistorySlots][kHistoryWidth],
                const std::vector<const char*>& entries) {
  for (int i = 0; i < kHistorySlots; ++i) history[i][0] = '\0';
  for (size_t i = 0; i < entries.size(); ++i) std::strcpy(history[i], entries[i]);
}

std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> texts;
  int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[64] = "";
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    texts.push_back(text);
  }
  return texts;
}

void ClickListAt(HWND list, int x, int y) {
  LPARAM point = MAKELPARAM(x, y);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(list, WM_LBUTTONUP, 0, point);
}

void ClickRow(HWND list, int index) {
  RECT r = {};
  r.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  ClickListAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The brush and background colour a dialog gives a static control.
struct StaticColours {
  INT_PTR Brush;
  COLORREF Background;
};

StaticColours ColoursOf(HWND dialog, int id) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetBkColor(dc, RGB(1, 2, 3));
  StaticColours c;
  c.Brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  c.Background = GetBkColor(dc);
  DeleteDC(dc);
  return c;
}

// --- Capture-date layout ------------------------------------------------------

TEST_F(SubDialogs, LayoutDialogOpensOnTheCurrentRowAndCancelKeepsIt) {
  for (int position = 0; position < 5; ++position) {
    DialogState.CurrentDatePosition = position;
    INT_PTR result = RunDriven([] { return RunDateLayoutDialog(nullptr); },
                               [position] {
                                 HWND d = WaitForDialog(kLayoutCaption);
                                 EXPECT_NE(d, nullptr);
                                 if (d == nullptr) return;
                                 for (int row = 0; row < 5; ++row)
                                   EXPECT_EQ(Checked(d, 1101 + row), row == position) << row;
                                 Click(d, 1101 + (position + 2) % 5);
                                 Click(d, IDCANCEL);
                                 EXPECT_TRUE(WaitGone(d));
                               });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(DialogState.CurrentDatePosition, position);
  }
}

// A layout from an edited settings file that names no row: none is selected,
// and OK without a selection stores 5.
TEST_F(SubDialogs, LayoutDialogWithAnUnknownLayoutSelectsNoRow) {
  for (int position : {-1, 5, 1000000, 2147483647, -2147483647 - 1}) {
    DialogState.CurrentDatePosition = position;
    INT_PTR result = RunDriven([] { return RunDateLayoutDialog(nullptr); },
                               [position] {
                                 HWND d = WaitForDialog(kLayoutCaption);
                                 EXPECT_NE(d, nullptr);
                                 if (d == nullptr) return;
                                 for (int row = 0; row < 5; ++row)
                                   EXPECT_FALSE(Checked(d, 1101 + row)) << position << " " << row;
                                 Click(d, IDOK);
                                 EXPECT_TRUE(WaitGone(d));
                               });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(DialogState.CurrentDatePosition, 5) << position;
  }
}

TEST_F(SubDialogs, LayoutDialogOkTakesTheSelectedRow) {
  DialogState.CurrentDatePosition = 0;
  INT_PTR result = RunDriven([] { return RunDateLayoutDialog(nullptr); },
                             [] {
                               HWND d = WaitForDialog(kLayoutCaption);
                               EXPECT_NE(d, nullptr);
                               if (d == nullptr) return;
                               Click(d, 1104);
                               Click(d, IDOK);
                               EXPECT_TRUE(WaitGone(d));
                             });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(DialogState.CurrentDatePosition, 3);
}

// --- History picker -----------------------------------------------------------

struct PickerCase {
  int target;
  std::vector<const char*> part1;
  std::vector<const char*> part2;
  std::vector<std::string> listed;
};

TEST_F(SubDialogs, PickerListsItsHistoryUpToTheFirstEmptyEntry) {
  const PickerCase cases[] = {
      {0, {"北海道旅行", "ヨーロッパ旅行"}, {"札幌"}, {"北海道旅行", "ヨーロッパ旅行"}},
      {1, {"a"}, {"札幌", "函館", "x"}, {"札幌", "函館", "x"}},
      {1, {"a"}, {"p", "", "q"}, {"p"}},
      {0, {}, {"p"}, {}},
  };
  for (const PickerCase& c : cases) {
    SetHistory(Settings.Part1History, c.part1);
    SetHistory(Settings.Part2History, c.part2);
    DialogState.HistoryTarget = c.target;
    std::vector<std::string> listed;
    INT_PTR result = RunDriven([] { return RunHistoryPicker(nullptr); },
                               [&listed] {
                                 HWND d = WaitForDialog(kHistoryCaption);
                                 EXPECT_NE(d, nullptr);
                                 if (d == nullptr) return;
                                 listed = ListTexts(GetDlgItem(d, 1401));
                                 // Enter is no pick: once a marker posted
                                 // after it has been taken, the picker is
                                 // still open.
                                 HWND list = GetDlgItem(d, 1401);
                                 Click(d, IDOK);
                                 EXPECT_TRUE(PostListMarker(list, 61));
                                 EXPECT_TRUE(WaitForListMarker(list, 61));
                                 EXPECT_TRUE(IsWindowVisible(d));
                                 Click(d, IDCANCEL);
                                 EXPECT_TRUE(WaitGone(d));
                               });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(listed, c.listed);
    EXPECT_STREQ(ExchangeText, "untouched");
  }
}

TEST_F(SubDialogs, PickerPicksTheClickedRowOnly) {
  SetHistory(Settings.Part2History, {"札幌", "函館", "表ソ"});
  DialogState.HistoryTarget = 1;
  int rowHeight = 0;
  DWORD style = 0;
  int columnWidth = 0;
  int listWidth = 0;
  bool hasImages = false;
  bool stillOpen = false;
  INT_PTR result = RunDriven(
      [] { return RunHistoryPicker(nullptr); },
      [&] {
        HWND d = WaitForDialog(kHistoryCaption);
        EXPECT_NE(d, nullptr);
        if (d == nullptr) return;
        HWND list = GetDlgItem(d, 1401);
        style = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        hasImages = SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) != 0;
        columnWidth = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
        RECT client = {};
        GetClientRect(list, &client);
        listWidth = client.right;
        RECT row = {};
        row.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
        rowHeight = row.bottom - row.top;
        // Below the last row: nothing is picked, as seen once a marker posted
        // after the click has been taken.
        ClickListAt(list, 20, row.bottom + 25);
        EXPECT_TRUE(PostListMarker(list, columnWidth + 7));
        EXPECT_TRUE(WaitForListMarker(list, columnWidth + 7));
        stillOpen = IsWindowVisible(d) != 0;
        ClickRow(list, 2);
        EXPECT_TRUE(WaitGone(d));
      });
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(ExchangeText, "表ソ");
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(style & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            DWORD(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  EXPECT_TRUE(hasImages);
  EXPECT_EQ(columnWidth, listWidth);
  // The 17-pixel image of bitmap 817 sets the least row height.
  EXPECT_GE(rowHeight, 17);
}

TEST_F(SubDialogs, HistoryBitmapIsTwoBySeventeenWhiteAtFourBits) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(817), MAKEINTRESOURCEA(2));  // RT_BITMAP
  ASSERT_NE(found, nullptr);
  const BITMAPINFOHEADER* info =
      static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->biWidth, 2);
  EXPECT_EQ(info->biHeight, 17);
  EXPECT_EQ(info->biBitCount, 4);
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(817), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 2; ++x) EXPECT_EQ(GetPixel(dc, x, y), RGB(255, 255, 255)) << x << "," << y;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// --- Confirmation ---------------------------------------------------------------

struct ConfirmCase {
  const char* exchange;
  const char* name;
  const char* tail;
  int button;
  INT_PTR result;
};

TEST_F(SubDialogs, ConfirmationShowsTheFirstNameAndItsWording) {
  const ConfirmCase cases[] = {
      {"12011_0502_001", "2011_0502_001", "から始まります。", IDOK, 1},
      {"02011_0502", "2011_0502", "です。", IDOK, 1},
      {"1富士山0101", "富士山0101", "から始まります。", IDCANCEL, 0},
      {"0A&B", "A&B", "です。", IDCANCEL, 0},
  };
  for (const ConfirmCase& c : cases) {
    std::strcpy(ExchangeText, c.exchange);
    std::string name, tail;
    StaticColours field = {}, other = {};
    INT_PTR result = RunDriven([] { return RunConfirmationDialog(nullptr); },
                               [&] {
                                 HWND d = WaitForDialog(kConfirmCaption);
                                 EXPECT_NE(d, nullptr);
                                 if (d == nullptr) return;
                                 name = Text(d, 1401);
                                 tail = Text(d, 1402);
                                 field = ColoursOf(d, 1401);
                                 other = ColoursOf(d, 1402);
                                 Click(d, c.button);
                                 EXPECT_TRUE(WaitGone(d));
                               });
    EXPECT_EQ(result, c.result) << c.exchange;
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(tail, c.tail);
    EXPECT_EQ(field.Brush, reinterpret_cast<INT_PTR>(App.FieldBrush));
    EXPECT_EQ(field.Background, kFieldColour);
    // Other statics get the default colours of the dialog manager.
    EXPECT_NE(other.Brush, reinterpret_cast<INT_PTR>(App.FieldBrush));
    EXPECT_NE(other.Background, kFieldColour);
  }
}

// --- The conditions dialog's own reactions -----------------------------------

TEST_F(SubDialogs, ConditionsDialogColoursOnlyItsFourValueFields) {
  std::vector<std::pair<int, StaticColours>> seen;
  RunDriven([] { return RunConditionsDialog(nullptr); },
            [&seen] {
              HWND d = WaitForDialog(kConditionsCaption);
              EXPECT_NE(d, nullptr);
              if (d == nullptr) return;
              for (int id : {1402, 1403, 1404, 1405, 1411, 1412, 1431})
                seen.push_back({id, ColoursOf(d, id)});
              Click(d, IDCANCEL);
              EXPECT_TRUE(WaitGone(d));
            });
  ASSERT_EQ(seen.size(), 7u);
  for (const auto& s : seen) {
    bool field = s.first >= 1402 && s.first <= 1405;
    EXPECT_EQ(s.second.Brush == reinterpret_cast<INT_PTR>(App.FieldBrush), field) << s.first;
    EXPECT_EQ(s.second.Background == kFieldColour, field) << s.first;
  }
}

TEST_F(SubDialogs, ConditionsDialogRadioButtonsCheckBoxAndHistoryButtons) {
  SetHistory(Settings.Part2History, {"札幌", "函館"});
  RunDriven([] { return RunConditionsDialog(nullptr); },
            [] {
              HWND d = WaitForDialog(kConditionsCaption);
              EXPECT_NE(d, nullptr);
              if (d == nullptr) return;
              struct Group {
                int first, last;
              } groups[] = {{1101, 1103}, {1106, 1107}, {1111, 1112}};
              for (const Group& g : groups) {
                for (int id = g.last; id >= g.first; --id) {
                  ClickNow(d, id);
                  for (int other = g.first; other <= g.last; ++other)
                    EXPECT_EQ(Checked(d, other), other == id) << id << " " << other;
                }
              }
              // 1111 was clicked last: the details button follows it.
              EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, 1426)));
              ClickNow(d, 1112);
              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 1426)));
              bool ticked = Checked(d, 1429);
              ClickNow(d, 1429);
              EXPECT_NE(Checked(d, 1429), ticked);
              ClickNow(d, 1429);
              EXPECT_EQ(Checked(d, 1429), ticked);

              // Part 2's history: a pick replaces the whole text.
              SetWindowTextA(GetDlgItem(d, 1006), "typed");
              Click(d, 1428);
              HWND picker = WaitForDialog(kHistoryCaption);
              EXPECT_NE(picker, nullptr);
              if (picker == nullptr) return;
              ClickRow(GetDlgItem(picker, 1401), 1);
              EXPECT_TRUE(WaitGone(picker));
              EXPECT_TRUE(WaitForText(d, 1006, "函館"));
              EXPECT_EQ(Text(d, 1006), "函館");
              EXPECT_EQ(Text(d, 1005), "");
              Click(d, IDCANCEL);
              EXPECT_TRUE(WaitGone(d));
            });
  EXPECT_EQ(DialogState.HistoryTarget, 1);
}

TEST_F(SubDialogs, PickerCancelLeavesTheTextOfItsField) {
  SetHistory(Settings.Part1History, {"北海道旅行", "ヨーロッパ旅行"});
  SetHistory(Settings.Part2History, {"札幌", "函館"});
  std::string part1;
  RunDriven([] { return RunConditionsDialog(nullptr); },
            [&part1] {
              HWND d = WaitForDialog(kConditionsCaption);
              ASSERT_NE(d, nullptr);
              SetWindowTextA(GetDlgItem(d, 1005), "typed");
              Click(d, 1427);
              HWND picker = WaitForDialog(kHistoryCaption);
              ASSERT_NE(picker, nullptr);
              Click(picker, IDCANCEL);
              ASSERT_TRUE(WaitGone(picker));
              // A later pick for part 2 proves that the reaction to the
              // cancelled picker is over.
              Click(d, 1428);
              picker = WaitForDialog(kHistoryCaption);
              ASSERT_NE(picker, nullptr);
              ClickRow(GetDlgItem(picker, 1401), 0);
              ASSERT_TRUE(WaitGone(picker));
              ASSERT_TRUE(WaitForText(d, 1006, "札幌"));
              part1 = Text(d, 1005);
              Click(d, IDCANCEL);
              EXPECT_TRUE(WaitGone(d));
            });
  EXPECT_EQ(part1, "typed");
}

}  // namespace
