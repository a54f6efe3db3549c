// The dialog templates compiled into the program: every control of 101,
// 102, 103 and 105 in tab and creation order, with its id, class, kind,
// text (UTF-16 in the resource) and rectangle in dialog units.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum Kind {
  kPush, kDefault, kRadio, kCheck, kText, kSunken, kSunkenCentred, kGreyFrame, kEdit, kUpDown,
  kReport,
};

struct Control {
  int id;
  const char* cls;
  Kind kind;
  const char* text;
  int x, y, w, h;
};

struct Header {
  DWORD style;
  int x, y, w, h;
  std::string caption;
  int points;
  std::string font;
};

struct Item {
  DWORD style;
  int id;
  std::string cls;
  std::string text;
  int x, y, w, h;
};

std::string Narrow(const WCHAR* text, size_t length) {
  char out[512] = "";
  int n = WideCharToMultiByte(932, 0, text, static_cast<int>(length), out, sizeof out - 1, nullptr,
                              nullptr);
  return std::string(out, n > 0 ? n : 0);
}

// A string or an ordinal of a template; advances p.
std::string ReadText(const WORD*& p, bool* ordinal = nullptr, WORD* value = nullptr) {
  if (*p == 0xFFFF) {
    if (ordinal != nullptr) *ordinal = true;
    if (value != nullptr) *value = p[1];
    p += 2;
    return "";
  }
  if (ordinal != nullptr) *ordinal = false;
  const WORD* start = p;
  while (*p != 0) ++p;
  std::string text = Narrow(reinterpret_cast<const WCHAR*>(start), p - start);
  ++p;
  return text;
}

std::string ClassOf(const WORD*& p) {
  bool ordinal = false;
  WORD atom = 0;
  std::string name = ReadText(p, &ordinal, &atom);
  if (!ordinal) return name;
  switch (atom) {
    case 0x80: return "BUTTON";
    case 0x81: return "EDIT";
    case 0x82: return "STATIC";
    default: return "#" + std::to_string(atom);
  }
}

bool ReadTemplate(int id, Header& header, std::vector<Item>& items) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (found == nullptr) return false;
  const DLGTEMPLATE* t = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, found)));
  header.style = t->style;
  header.x = t->x;
  header.y = t->y;
  header.w = t->cx;
  header.h = t->cy;
  const WORD* p = reinterpret_cast<const WORD*>(t + 1);
  ReadText(p);  // menu
  ReadText(p);  // class
  header.caption = ReadText(p);
  if (t->style & DS_SETFONT) {
    header.points = *p++;
    header.font = ReadText(p);
  }
  for (int i = 0; i < t->cdit; ++i) {
    p = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
    const DLGITEMTEMPLATE* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    Item it;
    it.style = item->style;
    it.id = static_cast<short>(item->id);
    it.x = item->x;
    it.y = item->y;
    it.w = item->cx;
    it.h = item->cy;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const char*>(item) + sizeof(DLGITEMTEMPLATE));
    it.cls = ClassOf(p);
    it.text = ReadText(p);
    WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const char*>(p) + extra);
    items.push_back(it);
  }
  return true;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool Has(DWORD style, DWORD bits) { return (style & bits) == bits; }

// What each kind of control must carry; every control is a visible child.
void ExpectKind(const Item& it, Kind kind) {
  EXPECT_TRUE(Has(it.style, WS_CHILD | WS_VISIBLE));
  DWORD button = it.style & 0x0F;
  DWORD staticType = it.style & SS_TYPEMASK;
  switch (kind) {
    case kPush:
      EXPECT_EQ(button, DWORD(BS_PUSHBUTTON));
      EXPECT_TRUE(Has(it.style, WS_TABSTOP));
      break;
    case kDefault:
      EXPECT_EQ(button, DWORD(BS_DEFPUSHBUTTON));
      EXPECT_TRUE(Has(it.style, WS_TABSTOP));
      break;
    case kRadio:
      EXPECT_EQ(button, DWORD(BS_RADIOBUTTON));
      EXPECT_FALSE(Has(it.style, WS_TABSTOP));
      break;
    case kCheck:
      EXPECT_EQ(button, DWORD(BS_CHECKBOX));
      EXPECT_TRUE(Has(it.style, WS_TABSTOP));
      break;
    case kText:
      EXPECT_EQ(staticType, DWORD(SS_LEFT));
      EXPECT_TRUE(Has(it.style, WS_GROUP));
      EXPECT_FALSE(Has(it.style, SS_SUNKEN));
      break;
    case kSunken:
    case kSunkenCentred:
      EXPECT_EQ(staticType, DWORD(kind == kSunken ? SS_LEFT : SS_CENTER));
      EXPECT_TRUE(Has(it.style, SS_SUNKEN | SS_NOPREFIX | WS_GROUP));
      break;
    case kGreyFrame:
      EXPECT_EQ(staticType, DWORD(SS_GRAYFRAME));
      break;
    case kEdit:
      EXPECT_TRUE(Has(it.style, WS_BORDER | WS_TABSTOP));
      EXPECT_FALSE(Has(it.style, ES_AUTOHSCROLL));
      break;
    case kUpDown:
      EXPECT_TRUE(Has(it.style, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY));
      EXPECT_FALSE(Has(it.style, WS_TABSTOP));
      break;
    case kReport:
      EXPECT_EQ(it.style & LVS_TYPEMASK, DWORD(LVS_REPORT));
      EXPECT_TRUE(Has(it.style, LVS_NOCOLUMNHEADER | WS_BORDER));
      break;
  }
}

void ExpectTemplate(int id, const Header& want, const std::vector<Control>& controls) {
  SCOPED_TRACE(id);
  Header header = {};
  std::vector<Item> items;
  ASSERT_TRUE(ReadTemplate(id, header, items));
  EXPECT_TRUE(Has(header.style, DS_MODALFRAME | WS_POPUP | WS_CAPTION));
  EXPECT_FALSE(Has(header.style, WS_SYSMENU)) << "no system menu";
  EXPECT_EQ(Has(header.style, WS_VISIBLE), Has(want.style, WS_VISIBLE));
  EXPECT_EQ(header.x, want.x);
  EXPECT_EQ(header.y, want.y);
  EXPECT_EQ(header.w, want.w);
  EXPECT_EQ(header.h, want.h);
  EXPECT_EQ(header.caption, want.caption);
  EXPECT_EQ(header.points, want.points);
  EXPECT_EQ(header.font, want.font);
  ASSERT_EQ(items.size(), controls.size());
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    const Control& c = controls[i];
    SCOPED_TRACE(testing::Message() << "control " << i << " id " << c.id);
    EXPECT_EQ(it.id, c.id);
    EXPECT_EQ(Upper(it.cls), Upper(c.cls));
    EXPECT_EQ(it.text, c.text);
    EXPECT_EQ(it.x, c.x);
    EXPECT_EQ(it.y, c.y);
    EXPECT_EQ(it.w, c.w);
    EXPECT_EQ(it.h, c.h);
    ExpectKind(it, c.kind);
  }
}

TEST(DialogTemplates, Conditions101HasItsFiftyThreeControlsInOrder) {
  const std::vector<Control> controls = {
      {1, "BUTTON", kPush, "改 名 実 行", 112, 272, 54, 18},
      {2, "BUTTON", kPush, "キャンセル", 188, 272, 54, 18},
      {-1, "STATIC", kText, "新ファイル名に撮影日を自動セット", 6, 9, 130, 9},
      {1111, "BUTTON", kRadio, "する", 140, 7, 28, 12},
      {1112, "BUTTON", kRadio, "しない", 170, 7, 40, 12},
      {1426, "BUTTON", kPush, "自動セット詳細", 218, 6, 64, 14},
      {-1, "STATIC", kText, "-------------------------------------------------------------------------------", 6, 20, 320, 9},
      {-1, "STATIC", kText, "名前を変更するファイル", 6, 29, 300, 9},
      {1425, "BUTTON", kDefault, "参 照", 9, 41, 34, 20},
      {-1, "STATIC", kText, "左の参照ボタンで名前を変更するファイルを選択してください", 53, 46, 240, 9},
      {-1, "STATIC", kText, "フォルダ", 12, 64, 40, 9},
      {1402, "STATIC", kSunken, " ", 56, 63, 256, 11},
      {-1, "STATIC", kText, "共通部名", 12, 78, 40, 9},
      {1403, "STATIC", kSunken, " ", 56, 77, 172, 11},
      {-1, "STATIC", kText, "拡張子", 248, 78, 30, 9},
      {1405, "STATIC", kSunken, " ", 280, 77, 32, 11},
      {-1, "STATIC", kText, "連番（開始番号から終了番号までのファイルの名前を変更します）", 12, 92, 300, 9},
      {-1, "STATIC", kText, "桁数", 18, 106, 34, 9},
      {1404, "STATIC", kSunkenCentred, " ", 56, 104, 8, 12},
      {-1, "STATIC", kText, "開始番号", 18, 120, 32, 9},
      {1001, "EDIT", kEdit, "", 56, 118, 40, 12},
      {1411, "STATIC", kText, "最小番号", 96, 120, 120, 9},
      {-1, "STATIC", kText, "終了番号", 18, 134, 32, 9},
      {1002, "EDIT", kEdit, "", 56, 132, 40, 12},
      {1412, "STATIC", kText, "最大番号", 96, 134, 120, 9},
      {1431, "STATIC", kGreyFrame, "", 220, 104, 56, 42},
      {-1, "STATIC", kText, "-------------------------------------------------------------------------------", 6, 145, 320, 9},
      {-1, "STATIC", kText, "新ファイル名（ＡＢＡＢ＿ＣＤＣＤ＿００１）  ①､②､③のどれか１つ必須", 6, 154, 300, 9},
      {-1, "STATIC", kText, "　　　　　　　　 ① 　④　 ② 　④　③", 6, 163, 300, 9},
      {-1, "STATIC", kText, "①ＡＢＡＢ", 12, 180, 40, 9},
      {1005, "EDIT", kEdit, "", 56, 178, 84, 12},
      {-1, "STATIC", kText, "（名前例：年、Hawaii、富士山）", 142, 180, 120, 9},
      {1427, "BUTTON", kPush, "履歴から入力", 266, 176, 52, 14},
      {-1, "STATIC", kText, "②ＣＤＣＤ", 12, 194, 40, 9},
      {1006, "EDIT", kEdit, "", 56, 192, 84, 12},
      {-1, "STATIC", kText, "（名前例：月日）", 142, 194, 110, 9},
      {1428, "BUTTON", kPush, "履歴から入力", 266, 193, 53, 14},
      {-1, "STATIC", kText, "③００１（連番）", 12, 208, 200, 9},
      {-1, "STATIC", kText, "桁数", 18, 222, 34, 9},
      {1007, "EDIT", kEdit, "", 56, 220, 20, 12},
      {1422, "msctls_updown32", kUpDown, "Spin1", 68, 220, 8, 12},
      {-1, "STATIC", kText, "（０～９　０のときは連番なし）", 80, 222, 140, 9},
      {-1, "STATIC", kText, "開始番号", 18, 236, 34, 9},
      {1008, "EDIT", kEdit, "", 56, 234, 40, 12},
      {-1, "STATIC", kText, "増分", 106, 236, 16, 9},
      {1106, "BUTTON", kRadio, "１", 126, 234, 24, 12},
      {1107, "BUTTON", kRadio, "１０", 152, 234, 40, 12},
      {-1, "STATIC", kText, "④＿（セパレータ文字）", 12, 250, 96, 9},
      {1101, "BUTTON", kRadio, "_", 110, 248, 28, 12},
      {1102, "BUTTON", kRadio, "-", 140, 248, 28, 12},
      {1103, "BUTTON", kRadio, "なし", 170, 248, 40, 12},
      {-1, "STATIC", kText, "-------------------------------------------------------------------------------", 6, 262, 320, 9},
      {1429, "BUTTON", kCheck, "確認画面を表示", 10, 275, 70, 12},
  };
  ASSERT_EQ(controls.size(), 53u);
  ExpectTemplate(101, {0, 10, 4, 330, 296, "ファイル名変更条件設定", 10, "ＭＳ ゴシック"}, controls);
}

TEST(DialogTemplates, DateLayout102) {
  const std::vector<Control> controls = {
      {1, "BUTTON", kDefault, "Ｏ Ｋ", 8, 124, 48, 12},
      {2, "BUTTON", kPush, "キャンセル", 66, 124, 48, 12},
      {-1, "STATIC", kText, "撮影日を自動セットする位置", 6, 10, 110, 10},
      {-1, "STATIC", kText, "を選択してください", 6, 22, 110, 10},
      {-1, "STATIC", kText, "①ＡＢＡＢ　　②ＣＤＣＤ", 15, 38, 100, 10},
      {1101, "BUTTON", kRadio, "", 8, 48, 16, 12},
      {-1, "STATIC", kText, "年　　　　　　月日", 24, 50, 90, 10},
      {1102, "BUTTON", kRadio, "", 8, 62, 16, 12},
      {-1, "STATIC", kText, "年月日　　　　－－", 24, 64, 90, 10},
      {1103, "BUTTON", kRadio, "", 8, 76, 16, 12},
      {-1, "STATIC", kText, "月日　　　　　－－", 24, 78, 90, 10},
      {1104, "BUTTON", kRadio, "", 8, 90, 16, 12},
      {-1, "STATIC", kText, "－－　　　　　年月日", 24, 92, 90, 10},
      {1105, "BUTTON", kRadio, "", 8, 104, 16, 12},
      {-1, "STATIC", kText, "－－　　　　　月日", 24, 106, 90, 10},
  };
  ExpectTemplate(102, {WS_VISIBLE, 10, 10, 120, 144, "撮影日詳細", 10, "ＭＳ ゴシック"}, controls);
}

TEST(DialogTemplates, HistoryPicker103) {
  const std::vector<Control> controls = {
      {2, "BUTTON", kPush, "キャンセル", 20, 108, 54, 13},
      {1401, "SysListView32", kReport, "", 2, 2, 88, 100},
  };
  ExpectTemplate(103, {0, 50, 30, 92, 126, "履歴から入力", 11, "ＭＳ ゴシック"}, controls);
}

TEST(DialogTemplates, Confirmation105) {
  const std::vector<Control> controls = {
      {1, "BUTTON", kDefault, "Ｏ Ｋ", 46, 54, 48, 12},
      {2, "BUTTON", kPush, "キャンセル", 120, 54, 48, 12},
      {-1, "STATIC", kText, "新ファイル名は", 6, 8, 70, 10},
      {1401, "STATIC", kSunken, " ", 10, 22, 208, 12},
      {1402, "STATIC", kText, " ", 6, 38, 70, 11},
  };
  ExpectTemplate(105, {WS_VISIBLE, 10, 10, 226, 72, "確認画面", 11, "ＭＳ ゴシック"}, controls);
}

}  // namespace
