// Tessel's Help menu, for real: commands 124, 125 and 126 open their
// dialogs with their texts and rectangles; Esc leaves each open, OK closes.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/driver.h"

using namespace e2e;

namespace {

const int kWait = kEventWait;

struct Control {
  int Id;
  const char* Class;  // "Button" or "Static"
  int X, Y, Width, Height;
  const char* Text;   // null: not compared
};

struct DialogCase {
  int Command;
  const char* Caption;
  int X, Y, Width, Height;  // dialog units, the position from the owner's client area
  std::vector<Control> Controls;
};

const char kAddressLine[] = "  https://tessel-photo.example.org/sundial-note/";
const char kAddress[] = "https://tessel-photo.example.org/sundial-note/";

std::vector<DialogCase> Dialogs() {
  return {
      {124, "使用方法", 10, 10, 286, 136,
       {
           {1, "Button", 116, 116, 54, 14, "Ｏ Ｋ"},
           {-1, "Static", 8, 10, 276, 10,
            "１．メニューの「改名」で新旧ファイル名等を設定し、「改名実行」ボタン"},
           {-1, "Static", 8, 22, 276, 10,
            "　をクリックすると写真ファイルの名前の変更（リネーム）を行います。"},
           {-1, "Static", 8, 34, 276, 10, "２．名前の変更例"},
           {-1, "Static", 8, 46, 276, 10,
            "　１）PICT0100 ～ PICT0120 → 2011_0502_001 ～ 2011_0502_021"},
           {-1, "Static", 8, 58, 276, 10,
            "　２）DSC02200 ～ DSC02230 → Hawaii_0001 ～ Hawaii_0031"},
           {-1, "Static", 8, 70, 276, 10, "　３）P5231201 ～ P5241320 → 富士山0101 ～ 富士山0220"},
           {-1, "Static", 8, 82, 276, 10,
            "３．「履歴から入力」ボタンはＡＢＡＢ（ＣＤＣＤ）に以前と同じ設定値を"},
           {-1, "Static", 8, 94, 276, 10,
            "　セットするときに便利です｡（直近の１０履歴の中からセットできます｡）"},
       }},
      {125, "ホームページ", 10, 10, 270, 72,
       {
           {1, "Button", 110, 54, 50, 14, "Ｏ Ｋ"},
           {-1, "Static", 8, 10, 260, 10,
            "写真のスライドショー（デジタルフォトフレーム）やサムネイルの"},
           {-1, "Static", 8, 22, 260, 10, "一覧表示もできる「Sundial Note」のホームページです。"},
           {1401, "Static", 8, 36, 220, 10, kAddressLine},
           {1411, "Button", 230, 35, 34, 14, "Ｇ Ｏ"},
       }},
      {126, "バージョン", 50, 20, 200, 62,
       {
           {1, "Button", 74, 42, 50, 14, "Ｏ Ｋ"},
           {-1, "Static", 10, 10, -1, -1, nullptr},  // the icon, at its natural size
           {-1, "Static", 36, 14, 70, 12, "Tessel"},
           {-1, "Static", 110, 14, 78, 12, "Ver 1.1 (2012.11)"},
           {-1, "Static", 36, 28, 160, 12, nullptr},  // the maker's notice
       }},
  };
}

std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    children.push_back(c);
  }
  return children;
}

// The pixels of a rectangle in dialog units for a dialog in the font all three
// templates share, "ＭＳ ゴシック" at 11 points: a dialog of that font made
// here from a template of our own (so the base units are the system's, not
// taken from the dialog under test) maps each value on its own, as the
// system does when it places the controls.
struct DialogUnits {
  HWND Probe = nullptr;
  ~DialogUnits() {
    if (Probe != nullptr) DestroyWindow(Probe);
  }
  static INT_PTR CALLBACK Ignore(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
  bool Make() {
    alignas(4) WORD words[64] = {};
    DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(words);
    t->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    t->cx = 100;
    t->cy = 50;
    WORD* p = reinterpret_cast<WORD*>(t + 1);
    *p++ = 0;   // no menu
    *p++ = 0;   // the dialog class
    *p++ = 0;   // no caption
    *p++ = 11;  // points
    const wchar_t face[] = L"ＭＳ ゴシック";
    for (wchar_t c : face) *p++ = static_cast<WORD>(c);
    Probe = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t, nullptr, Ignore, 0);
    return Probe != nullptr;
  }
  // x, y, width, height in pixels.
  RECT Map(int x, int y, int width, int height) const {
    RECT r = {x, y, width, height};
    MapDialogRect(Probe, &r);
    return r;
  }
};

RECT ClientPlace(HWND dialog, HWND control) {
  RECT r = WindowRect(control);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Pushes the OK button in and lets it out again by posted messages
// (BM_SETSTATE), each waited for through BM_GETSTATE: once both are seen,
// everything posted to the dialog's thread before them has been handled.
// False when the dialog went away first.
bool PostedMarkerSeen(HWND dialog) {
  HWND ok = GetDlgItem(dialog, IDOK);
  if (ok == nullptr) return false;
  for (BOOL pushed : {TRUE, FALSE}) {
    PostMessageA(ok, BM_SETSTATE, pushed, 0);
    bool seen = WaitUntil(
        [&] {
          if (!IsWindow(ok) || !IsWindowVisible(dialog)) return true;
          LRESULT state = 0;
          return Ask(ok, BM_GETSTATE, 0, 0, "BM_GETSTATE", &state) &&
                 ((state & BST_PUSHED) != 0) == (pushed != FALSE);
        },
        kWait);
    if (!seen || !IsWindow(ok) || !IsWindowVisible(dialog)) return false;
  }
  return true;
}

struct TesselRun {
  Program Run;
  HWND Main = nullptr;
  ~TesselRun() { EndProgram(Run); }
  void Start() {
    std::string folder = MakeFreshFolder("help");
    ASSERT_FALSE(folder.empty());
    std::string exe = CopyProgram(folder, "Tessel.exe");
    ASSERT_FALSE(exe.empty());
    ASSERT_TRUE(StartProgram(Run, exe));
    Main = WaitForRunningWindow(Run.Process.dwProcessId, "TesselClass", kWait);
    ASSERT_NE(Main, nullptr);
  }
};

TEST(HelpDialogs, EachCommandOpensItsDialogWhichOnlyOkCloses) {
  DialogUnits units;
  ASSERT_TRUE(units.Make());
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Start());
  DWORD pid = t.Run.Process.dwProcessId;
  for (const DialogCase& d : Dialogs()) {
    SCOPED_TRACE(d.Caption);
    // A modal dialog: the command is posted, never sent.
    PostCommand(t.Main, d.Command);
    HWND dialog = WaitForDialog(pid, d.Caption, kWait);
    ASSERT_NE(dialog, nullptr);

    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_FALSE(style & WS_SYSMENU);  // no close box
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), t.Main);

    // Placed from the owner's client area, sized in dialog units.
    RECT frame = units.Map(d.X, d.Y, d.Width, d.Height);
    POINT origin = {0, 0};
    POINT ownerOrigin = {0, 0};
    ClientToScreen(dialog, &origin);
    ClientToScreen(t.Main, &ownerOrigin);
    EXPECT_EQ(origin.x - ownerOrigin.x, frame.left);
    EXPECT_EQ(origin.y - ownerOrigin.y, frame.top);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, frame.right);
    EXPECT_EQ(client.bottom, frame.bottom);

    std::vector<HWND> children = Children(dialog);
    ASSERT_EQ(children.size(), d.Controls.size());
    for (size_t i = 0; i < children.size(); ++i) {
      const Control& want = d.Controls[i];
      SCOPED_TRACE(i);
      HWND c = children[i];
      EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(c))), want.Id);
      EXPECT_EQ(ClassName(c), want.Class);
      if (want.Text != nullptr) {
        EXPECT_EQ(WindowText(c), want.Text);
      }
      RECT r = ClientPlace(dialog, c);
      RECT place = units.Map(want.X, want.Y, want.Width, want.Height);
      EXPECT_EQ(r.left, place.left);
      EXPECT_EQ(r.top, place.top);
      if (want.Width > 0) {
        EXPECT_EQ(r.right - r.left, place.right);
        EXPECT_EQ(r.bottom - r.top, place.bottom);
      }
      LONG cs = GetWindowLongA(c, GWL_STYLE);
      if (want.Id == -1 && want.Text != nullptr) {
        EXPECT_EQ(cs & (WS_GROUP | SS_TYPEMASK), WS_GROUP | SS_LEFT);
      }
    }
    // The version dialog shows the program's icon.
    if (d.Command == 126) {
      LONG iconStyle = GetWindowLongA(children[1], GWL_STYLE);
      EXPECT_EQ(iconStyle & SS_TYPEMASK, SS_ICON);
      LRESULT icon = 0;
      EXPECT_TRUE(Ask(children[1], STM_GETICON, 0, 0, "STM_GETICON", &icon) && icon != 0);
      EXPECT_FALSE(WindowText(children[4]).empty());
    }
    // The default button: OK, except in the home-page dialog, where it is GO.
    HWND defaultButton = GetDlgItem(dialog, d.Command == 125 ? 1411 : 1);
    EXPECT_EQ(GetWindowLongA(defaultButton, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);

    // Esc is no way out.
    HWND focus = FocusWindow(t.Run.Process.dwThreadId);
    PressKey(focus != nullptr ? focus : dialog, VK_ESCAPE);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(PostedMarkerSeen(dialog)) << "the dialog went away";
    EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog));

    ClickButton(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWait));
  }
  // Back at the main window, which still answers its menu.
  PostCommand(t.Main, 123);
  DWORD code = 12345;
  ASSERT_TRUE(WaitForExit(t.Run, kWait, &code));
  EXPECT_EQ(code, 0u);
}

TEST(HelpDialogs, TheAddressReplacesThePlaceholderAtOnce) {
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Start());
  PostCommand(t.Main, 125);
  HWND dialog = WaitForDialog(t.Run.Process.dwProcessId, "ホームページ", kWait);
  ASSERT_NE(dialog, nullptr);
  // Read as soon as the dialog is visible: the placeholder never shows.
  std::string line = ItemText(dialog, 1401);
  EXPECT_EQ(line, kAddressLine);
  EXPECT_EQ(line.find("ＵＲＬ"), std::string::npos);
  EXPECT_LE(line.size(), 159u);
  ClickButton(dialog, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWait));
}

// The command that opens https addresses, replaced for one test by a
// recorder that writes the address it is given into a file (so no browser
// starts), and put back afterwards.
struct BrowserRecorder {
  const char* Key = "Software\\Classes\\https\\shell\\open\\command";
  std::string Saved;
  bool HadValue = false;
  bool Installed = false;

  bool Install(const std::string& recordFile) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    char old[1024] = "";
    DWORD size = sizeof old - 1;
    DWORD type = 0;
    HadValue = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(old),
                                &size) == ERROR_SUCCESS;
    Saved = old;
    std::string command = "C:\\windows\\system32\\cmd.exe /c echo %1>\"" + recordFile + "\"";
    Installed = RegSetValueExA(key, nullptr, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(command.c_str()),
                               static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return Installed;
  }
  ~BrowserRecorder() {
    if (!Installed) return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    if (HadValue) {
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(Saved.c_str()),
                     static_cast<DWORD>(Saved.size() + 1));
    } else {
      RegDeleteValueA(key, nullptr);
    }
    RegCloseKey(key);
  }
};

TEST(HelpDialogs, GoOpensTheAddressAndClosesTheDialog) {
  std::string record = JoinPath(MakeFreshFolder("go"), "address.txt");
  BrowserRecorder browser;
  ASSERT_TRUE(browser.Install(record));
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Start());
  PostCommand(t.Main, 125);
  HWND dialog = WaitForDialog(t.Run.Process.dwProcessId, "ホームページ", kWait);
  ASSERT_NE(dialog, nullptr);
  ClickButton(dialog, 1411);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWait));
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(record, bytes) && !bytes.empty(); }, kWait));
  std::string opened(bytes.begin(), bytes.end());
  while (!opened.empty() && (opened.back() == '\n' || opened.back() == '\r')) opened.pop_back();
  EXPECT_EQ(opened, kAddress);
  // The main window goes on.
  PostCommand(t.Main, 123);
  DWORD code = 12345;
  ASSERT_TRUE(WaitForExit(t.Run, kWait, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
