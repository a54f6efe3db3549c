// Perch's set-up window made in this process, with the registration's
// platform side replaced by a recorder: what OK hands over, that neither
// box, Cancel and a confirmed close reach none of the platform's
// registration calls, and the font the window gives its controls. Message
// boxes run on the test's thread and are answered from a second thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/win_checks.h"
#include "setup/perch_state.h"

namespace {

const int kWait = 15000;

// ---- The registration's calls, recorded ------------------------------------

std::vector<std::string> Calls;

FolderLookup RecordFindFolder(void*, int folderId, char (&path)[kPathSize]) {
  Calls.push_back("find folder " + std::to_string(folderId));
  std::string found = "C:\\folder" + std::to_string(folderId);
  lstrcpynA(path, found.c_str(), kPathSize);
  return kFolderFound;
}

int RecordWriteShortcut(void*, const ShortcutRequest& request) {
  Calls.push_back(std::string("write ") + request.LinkPath);
  return 1;
}

int RecordRemoveMark(void*, const char* markPath) {
  Calls.push_back(std::string("remove mark ") + markPath);
  return 0;
}

void RecordCompletion(void*, const RegistrationNotice&) { Calls.push_back("completion"); }

HWND CompletionOwner = nullptr;

RegistrationOps RecordingRegistration(HWND owner) {
  CompletionOwner = owner;
  RegistrationOps ops = {nullptr, RecordFindFolder, RecordWriteShortcut, RecordRemoveMark,
                         RecordCompletion};
  return ops;
}

// ---- Message boxes of this thread, answered from another -------------------

struct BoxAnswer {
  DWORD Thread;       // the thread that runs the box
  int Button;         // IDOK, IDYES, IDNO...
  bool Seen = false;
  std::string Caption;
  std::string Text;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  HWND* found = reinterpret_cast<HWND*>(param);
  char cls[16] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window) &&
      GetDlgItem(window, 0xFFFF) != nullptr) {
    *found = window;
    return FALSE;
  }
  return TRUE;
}

// Waits for a message box of the thread (polling with a deadline), reads it
// and presses the button.
DWORD WINAPI AnswerBox(void* param) {
  BoxAnswer* answer = static_cast<BoxAnswer*>(param);
  DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(kWait)) {
    HWND box = nullptr;
    EnumThreadWindows(answer->Thread, FindBox, reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
      char text[512] = "";
      GetWindowTextA(box, text, sizeof text);
      answer->Caption = text;
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      answer->Text = text;
      answer->Seen = true;
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer->Button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, answer->Button)));
      return 0;
    }
    Sleep(10);
  }
  return 1;
}

// Runs `act` on this thread while a second thread answers the box it opens.
template <typename Act>
void WithBoxAnswered(BoxAnswer& answer, Act act) {
  answer.Thread = GetCurrentThreadId();
  HANDLE helper = CreateThread(nullptr, 0, AnswerBox, &answer, 0, nullptr);
  ASSERT_NE(helper, nullptr);
  act();
  EXPECT_EQ(WaitForSingleObject(helper, kWait), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(helper);
}

// ---- Perch's window in this process ----------------------------------------

std::string ExeFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\'));
}

// Perch reads Perch.inf beside the running executable, which here is the test
// program: the fixture writes one there and puts back what was there before.
class PerchWindowInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    infPath_ = ExeFolder() + "\\Perch.inf";
    // The shipped folder holds a Perch.inf of its own (the emulated PC runs
    // the tests beside the release's files): it is read whole and put back.
    if (GetFileAttributesA(infPath_.c_str()) != INVALID_FILE_ATTRIBUTES) {
      HANDLE old = CreateFileA(infPath_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(old, INVALID_HANDLE_VALUE) << "an instruction file that cannot be kept";
      char buffer[4096];
      DWORD got = 0;
      while (ReadFile(old, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        oldInf_.append(buffer, got);
      }
      CloseHandle(old);
      hadInf_ = true;
    }
    replaced_ = true;
    WriteInf("[実行ファイル名]\r\nTarget.exe\r\n[タイトル]\r\nTessel\r\n");
    Calls.clear();
    CompletionOwner = nullptr;
    // Left by the previous test's window: each window must name itself.
    Perch.Window = nullptr;
    Perch.Registration = RecordingRegistration;
    WNDCLASSA known;
    if (!GetClassInfoA(GetModuleHandleA(nullptr), kPerchClassName, &known)) {
      ASSERT_TRUE(RegisterPerchClass(GetModuleHandleA(nullptr)));
    }
  }

  void TearDown() override {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    TakeQuit();
    Perch.Registration = ShellRegistration;
    if (!replaced_) return;
    if (hadInf_) {
      WriteInf(oldInf_);
    } else {
      DeleteFileA(infPath_.c_str());
    }
  }

  void WriteInf(const std::string& text) {
    HANDLE file = CreateFileA(infPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, text.size());
  }

  void Open() {
    window_ = CreatePerchWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(Perch.Window, window_);
  }

  HWND Control(int id) { return GetDlgItem(window_, id); }

  // The quit message that the window's end posts, taken off this thread's
  // queue so that it cannot end a later message box; -1 when there is none.
  int TakeQuit() {
    MSG msg;
    int code = -1;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        code = static_cast<int>(msg.wParam);
      } else {
        DispatchMessageA(&msg);
      }
    }
    return code;
  }

  // The window is gone, the quit message with 0 posted, and no call of the
  // registration's platform side was made.
  void ExpectEndedWithoutRegistration() {
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(TakeQuit(), 0);
    EXPECT_TRUE(Calls.empty()) << Calls.front();
  }

  std::string infPath_;
  bool replaced_ = false;
  bool hadInf_ = false;
  std::string oldInf_;
  HWND window_ = nullptr;
};

// The recorder sees OK's registration: without this the empty records below
// would prove nothing.
TEST_F(PerchWindowInProcess, OkWithBothBoxesRegistersThroughThePlatformSide) {
  ASSERT_NO_FATAL_FAILURE(Open());
  SendMessageA(Control(1001), BM_CLICK, 0, 0);
  EXPECT_EQ(CompletionOwner, window_);
  std::string mark = "remove mark " + ExeFolder() + "\\Target.exe:Zone.Identifier";
  std::vector<std::string> want = {"find folder 0", "write C:\\folder0\\Tessel.lnk",
                                   "find folder 2", "write C:\\folder2\\Tessel.lnk", mark,
                                   "completion"};
  EXPECT_EQ(Calls, want);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(TakeQuit(), 0);
}

TEST_F(PerchWindowInProcess, OkWithNeitherBoxCallsNothing) {
  ASSERT_NO_FATAL_FAILURE(Open());
  SendMessageA(Control(1003), BM_CLICK, 0, 0);
  SendMessageA(Control(1004), BM_CLICK, 0, 0);
  ASSERT_EQ(SendMessageA(Control(1003), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_EQ(SendMessageA(Control(1004), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageA(Control(1001), BM_CLICK, 0, 0);
  ExpectEndedWithoutRegistration();
}

TEST_F(PerchWindowInProcess, CancelShowsItsMessageAndCallsNothing) {
  ASSERT_NO_FATAL_FAILURE(Open());
  BoxAnswer answer;
  answer.Button = IDOK;
  WithBoxAnswered(answer, [&] { SendMessageA(Control(1002), BM_CLICK, 0, 0); });
  ASSERT_TRUE(answer.Seen);
  EXPECT_EQ(answer.Caption, "セットアップのキャンセル");
  EXPECT_EQ(answer.Text, "プログラムを起動するときは Target.exe をダブルクリックして下さい。　");
  ExpectEndedWithoutRegistration();
}

TEST_F(PerchWindowInProcess, CloseAnsweredYesCallsNothingAndNoKeepsTheWindow) {
  ASSERT_NO_FATAL_FAILURE(Open());
  BoxAnswer no;
  no.Button = IDNO;
  WithBoxAnswered(no, [&] { SendMessageA(window_, WM_CLOSE, 0, 0); });
  ASSERT_TRUE(no.Seen);
  EXPECT_EQ(no.Caption, "セットアップ");
  EXPECT_EQ(no.Text, "セットアップを中止しますか");
  // SendMessage came back: the answer has been handled.
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_EQ(TakeQuit(), -1);
  EXPECT_TRUE(Calls.empty());

  BoxAnswer yes;
  yes.Button = IDYES;
  WithBoxAnswered(yes, [&] { SendMessageA(window_, WM_CLOSE, 0, 0); });
  ASSERT_TRUE(yes.Seen);
  EXPECT_EQ(yes.Text, "セットアップを中止しますか");
  ExpectEndedWithoutRegistration();
}

// Every control gets the UI font: "ＭＳ ゴシック", Shift-JIS, height 14, every
// other attribute 0; the window deletes it when it goes.
TEST_F(PerchWindowInProcess, ControlsUseTheShiftJisGothicOfHeight14) {
  ASSERT_NO_FATAL_FAILURE(Open());
  HFONT first = nullptr;
  for (int id = 1001; id <= 1006; ++id) {
    SCOPED_TRACE(id);
    ASSERT_NE(Control(id), nullptr);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    if (first == nullptr) first = font;
    EXPECT_EQ(font, first) << "one font for all six";
    ExpectGothicFont(font, 14);
  }
  DestroyWindow(window_);
  EXPECT_EQ(GetObjectType(first), 0u) << "the font outlives the window";
  EXPECT_EQ(TakeQuit(), 0);
}

// The client area is erased with a solid brush of the button face, made for
// the window and installed as the class's background; the window deletes it
// when it goes and leaves the class a brush that stays valid.
TEST_F(PerchWindowInProcess, TheBackgroundIsAButtonFaceBrushOfItsOwn) {
  ASSERT_NO_FATAL_FAILURE(Open());
  HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(window_, GCLP_HBRBACKGROUND));
  ASSERT_NE(brush, nullptr);
  LOGBRUSH b;
  ASSERT_EQ(GetObjectA(brush, sizeof b, &b), static_cast<int>(sizeof b));
  EXPECT_EQ(b.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(b.lbColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_NE(brush, GetSysColorBrush(COLOR_BTNFACE)) << "a brush of its own";
  DestroyWindow(window_);
  EXPECT_EQ(GetObjectType(brush), 0u) << "the brush outlives the window";
  WNDCLASSA after;
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), kPerchClassName, &after));
  EXPECT_EQ(after.hbrBackground, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(TakeQuit(), 0);
}

}  // namespace
