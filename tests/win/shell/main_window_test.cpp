// The main window created in this process: the log list, its colours, the
// bridge from a worker thread, the status bar, layout and the close request.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "shell/activity_log.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/settings_record.h"

namespace {

// How long a wait for something that must happen gives it: each wait ends as
// soon as it happens, so only a fault waits this long, and the emulated
// 32-bit PC, many times slower than this machine, still gets there.
const int kEventWaitMs = 30000;

// Dispatches every message waiting for this thread now.
void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Dispatches this thread's messages until `done` holds or time runs out;
// wakes at once when a message comes in, else every 20 ms to look again.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

std::string IniPath() { return std::string(App.ModuleDirectory) + "\\Tessel.ini"; }

struct Row {
  int Class;
  std::string Text;
};

std::vector<Row> Rows() {
  std::vector<Row> rows;
  int count = static_cast<int>(SendMessageA(App.LogList, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[300] = "";
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(App.LogList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    rows.push_back({static_cast<signed char>(item.lParam & 0xFF), text});
  }
  return rows;
}

// Each test gets a fresh main window, as Tessel's start-up makes it; the
// settings file it writes beside this program is removed again.
class MainWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterMainClass(GetModuleHandleA(nullptr)); }
  void SetUp() override {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string ini(exe);
    ini = ini.substr(0, ini.find_last_of('\\')) + "\\Tessel.ini";
    DeleteFileA(ini.c_str());
    App.ShutdownTicks = 0;
    window_ = CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    PumpPending();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    PumpPending();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    DeleteFileA(IniPath().c_str());
    App.MainWindow = nullptr;
  }
  HWND window_ = nullptr;
};

TEST_F(MainWindowTest, LogKeepsTheLastThreeHundredRowsWithTheirClasses) {
  ASSERT_EQ(Rows().size(), 1u);
  AppendLogRow('x', "silent");
  AppendLogRow('D', "debug");
  EXPECT_EQ(App.LogRowCount, 1);
  const char classes[] = {'I', 'E', 'c', '?'};
  // Painting each row costs Wine far more than the list itself: append hidden.
  ShowWindow(window_, SW_HIDE);
  for (int i = 0; i < 1000; ++i) {
    AppendLogRow(classes[i % 4], ("row " + std::to_string(i)).c_str());
  }
  std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), 300u);
  EXPECT_EQ(App.LogRowCount, 300);
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(rows[i].Text, " row " + std::to_string(700 + i));
    EXPECT_EQ(rows[i].Class, classes[(700 + i) % 4]);
  }
  // The newest row is scrolled into view.
  ShowWindow(window_, SW_SHOW);
  int top = static_cast<int>(SendMessageA(App.LogList, LVM_GETTOPINDEX, 0, 0));
  int perPage = static_cast<int>(SendMessageA(App.LogList, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_GT(top, 0);
  EXPECT_GE(top + perPage, 300);
}

TEST_F(MainWindowTest, CustomDrawColoursRowsByClass) {
  NMLVCUSTOMDRAW draw = {};
  draw.nmcd.hdr.hwndFrom = App.LogList;
  draw.nmcd.hdr.idFrom = 2;
  draw.nmcd.hdr.code = NM_CUSTOMDRAW;
  draw.nmcd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(SendMessageA(window_, WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&draw)),
            CDRF_NOTIFYITEMDRAW);
  struct {
    LPARAM itemData;
    COLORREF text;
  } cases[] = {{'I', RGB(0, 0, 0)},     {'E', RGB(255, 0, 0)}, {'c', RGB(0, 144, 0)},
               {'D', RGB(0, 255, 0)},   {'Q', RGB(0, 0, 0)},   {0x145, RGB(255, 0, 0)}};
  for (const auto& c : cases) {
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.lItemlParam = c.itemData;
    draw.clrText = 12345;
    draw.clrTextBk = 12345;
    EXPECT_EQ(SendMessageA(window_, WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&draw)),
              CDRF_DODEFAULT);
    EXPECT_EQ(draw.clrText, c.text) << c.itemData;
    EXPECT_EQ(draw.clrTextBk, RGB(255, 255, 255));
  }
  draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
  EXPECT_EQ(SendMessageA(window_, WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&draw)), 0);
  // Another control's notifications are not drawn.
  draw.nmcd.dwDrawStage = CDDS_PREPAINT;
  draw.nmcd.hdr.idFrom = 7;
  EXPECT_EQ(SendMessageA(window_, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&draw)), 0);
}

// Counts pixels of one colour in the list as painted on the screen.
int CountPixels(COLORREF colour) {
  UpdateWindow(App.LogList);
  RECT client;
  GetClientRect(App.LogList, &client);
  HDC dc = GetDC(App.LogList);
  int count = 0;
  for (int y = 0; y < 80 && y < client.bottom; ++y) {
    for (int x = 0; x < 300 && x < client.right; ++x) {
      if (GetPixel(dc, x, y) == colour) ++count;
    }
  }
  ReleaseDC(App.LogList, dc);
  return count;
}

TEST_F(MainWindowTest, RowsArePaintedInTheirColours) {
  EXPECT_EQ(CountPixels(RGB(255, 0, 0)), 0);
  EXPECT_EQ(CountPixels(RGB(0, 144, 0)), 0);
  AppendLogRow('E', "■■■■■■■■ error");
  AppendLogRow('c', "■■■■■■■■ start");
  InvalidateRect(App.LogList, nullptr, TRUE);
  EXPECT_TRUE(PumpUntil(
      [] { return CountPixels(RGB(255, 0, 0)) > 50 && CountPixels(RGB(0, 144, 0)) > 50; },
      kEventWaitMs));
  EXPECT_GT(CountPixels(RGB(255, 0, 0)), 50);
  EXPECT_GT(CountPixels(RGB(0, 144, 0)), 50);
}

struct SenderResult {
  int Sent = 0;
  int CountsAfterSend[40] = {};
  LRESULT LastResult = -1;
};

DWORD WINAPI SendRows(LPVOID param) {
  SenderResult* result = static_cast<SenderResult*>(param);
  for (int i = 0; i < 40; ++i) {
    std::string text = "worker row " + std::to_string(i);
    result->LastResult = SendLogRow(i % 2 ? 'E' : 'I', text.c_str());
    // The send returns only when the row is in the list.
    result->CountsAfterSend[i] = App.LogRowCount;
    result->Sent += 1;
  }
  // Longer than the bridge: cut, never overflowed.
  std::string huge(2000, 'w');
  SendLogRow('I', huge.c_str());
  return 0;
}

TEST_F(MainWindowTest, WorkerRowsArriveInOrderThroughTheBridge) {
  SenderResult result;
  HANDLE thread = CreateThread(nullptr, 0, SendRows, &result, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  bool ended =
      PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, kEventWaitMs);
  CloseHandle(thread);
  ASSERT_TRUE(ended) << "the worker's sends were not served";
  ASSERT_EQ(result.Sent, 40);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(result.CountsAfterSend[i], 2 + i);
  std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), 42u);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(rows[1 + i].Text, " worker row " + std::to_string(i));
    EXPECT_EQ(rows[1 + i].Class, i % 2 ? 'E' : 'I');
  }
  EXPECT_EQ(rows[41].Text, " " + std::string(160, 'w'));
  // A row message whose wParam has a non-zero low word is ignored.
  SendMessageA(window_, WM_APP_LOGROW, 1, 0);
  EXPECT_EQ(Rows().size(), 42u);
}

TEST_F(MainWindowTest, StatusBarHasMessageAndClockParts) {
  EXPECT_EQ(App.ClockWidth, ClockWidthFor(App.StatusBarHeight));
  RECT client;
  GetClientRect(window_, &client);
  int edges[2] = {};
  ASSERT_EQ(SendMessageA(App.StatusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], client.right - App.ClockWidth);
  // The clock part runs to the right end: -1 is reported as the bar's width.
  EXPECT_TRUE(edges[1] == -1 || edges[1] >= client.right - 1) << edges[1];

  // A resize lays out the list above the bar and narrows its column.
  SetWindowPos(window_, nullptr, 0, 0, 700, 420, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(window_, &client);
  RECT list;
  GetWindowRect(App.LogList, &list);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&list), 2);
  EXPECT_EQ(list.left, 0);
  EXPECT_EQ(list.top, 2);
  EXPECT_EQ(list.right - list.left, client.right);
  EXPECT_EQ(list.bottom - list.top, client.bottom - App.StatusBarHeight - 4);
  EXPECT_EQ(SendMessageA(App.LogList, LVM_GETCOLUMNWIDTH, 0, 0), client.right - 22);
  ASSERT_EQ(SendMessageA(App.StatusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], client.right - App.ClockWidth);
}

TEST_F(MainWindowTest, CloseDuringARenameWaitsForTheWorkersEnd) {
  SetRenameState(kRenameRunning);
  // Taken before the request that starts the tick: a busy machine can only
  // make the time seen longer.
  DWORD asked = GetTickCount();
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_EQ(GetRenameState(), kRenameIdle);
  char notice[128] = "";
  SendMessageA(App.StatusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(notice));
  EXPECT_STREQ(notice, "　Tesselを終了しています。少しお待ち下さい");
  // The first tick, a second on, finds no running worker and ends the program.
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window_); }, kEventWaitMs));
  EXPECT_EQ(App.ShutdownTicks, 1) << "not ended by the first tick";
  EXPECT_GE(GetTickCount() - asked, 900u) << "ended before the first tick";
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_NE(GetFileAttributesA(IniPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindowTest, SecondCloseRequestEndsAtOnce) {
  SetRenameState(kRenameRunning);
  SendMessageA(window_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(IsWindow(window_));
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(App.ShutdownTicks, -99);
}

TEST_F(MainWindowTest, WaitGoesOnWhileTheWorkerStillRuns) {
  SetRenameState(kRenameRunning);
  SendMessageA(window_, WM_CLOSE, 0, 0);
  // A worker that is still running after the close keeps the window one more tick.
  SetRenameState(kRenameRunning);
  SendMessageA(window_, WM_TIMER, IDT_SHUTDOWN, 0);
  EXPECT_TRUE(IsWindow(window_));
  SetRenameState(kRenameEnded);
  SendMessageA(window_, WM_TIMER, IDT_SHUTDOWN, 0);
  EXPECT_FALSE(IsWindow(window_));
}

// Counts what reaches the main window while a box is open: shutdown ticks
// and close requests, seen through a subclass in front of its procedure.
volatile LONG ShutdownTicksSeen = 0;
volatile LONG CloseRequestsSeen = 0;
WNDPROC MainProcBehind = nullptr;

LRESULT CALLBACK CountingMainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == IDT_SHUTDOWN) InterlockedIncrement(&ShutdownTicksSeen);
  if (message == WM_CLOSE) InterlockedIncrement(&CloseRequestsSeen);
  return CallWindowProcA(MainProcBehind, hwnd, message, wParam, lParam);
}

// Watches this process's "設定" boxes: counts each one, sends the window a
// close request and leaves the box open until that request and two more
// shutdown ticks have reached the window, then answers it.
struct BoxWatch {
  HWND Main = nullptr;
  DWORD MainThread = 0;
  volatile LONG Stop = 0;
  int Boxes = 0;
  bool SawTicksAndClose = true;
};

struct FindBox {
  HWND Found;
};

BOOL CALLBACK FindSettingsBox(HWND hwnd, LPARAM param) {
  char caption[32] = "";
  char cls[32] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  GetWindowTextA(hwnd, caption, sizeof caption);
  if (strcmp(cls, "#32770") == 0 && strcmp(caption, "設定") == 0 && IsWindowVisible(hwnd)) {
    reinterpret_cast<FindBox*>(param)->Found = hwnd;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI AnswerSettingsBoxes(LPVOID param) {
  BoxWatch* watch = static_cast<BoxWatch*>(param);
  HWND last = nullptr;
  while (!watch->Stop) {
    FindBox find = {nullptr};
    EnumThreadWindows(watch->MainThread, FindSettingsBox, reinterpret_cast<LPARAM>(&find));
    if (find.Found != nullptr && find.Found != last) {
      last = find.Found;
      watch->Boxes += 1;
      LONG ticks = InterlockedCompareExchange(&ShutdownTicksSeen, 0, 0);
      LONG closes = InterlockedCompareExchange(&CloseRequestsSeen, 0, 0);
      PostMessageA(watch->Main, WM_CLOSE, 0, 0);
      // Polled with a deadline: the box's own message loop serves both.
      DWORD start = GetTickCount();
      bool seen = false;
      while (!seen && GetTickCount() - start < static_cast<DWORD>(kEventWaitMs)) {
        seen = InterlockedCompareExchange(&ShutdownTicksSeen, 0, 0) >= ticks + 2 &&
               InterlockedCompareExchange(&CloseRequestsSeen, 0, 0) >= closes + 1;
        if (!seen) Sleep(20);
      }
      if (!seen) watch->SawTicksAndClose = false;
      PostMessageA(find.Found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    Sleep(20);
  }
  return 0;
}

TEST_F(MainWindowTest, TicksAndClosesDuringTheSaveFailureBoxDoNotDestroyTheWindowAgain) {
  ShutdownTicksSeen = 0;
  CloseRequestsSeen = 0;
  MainProcBehind = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingMainProc)));
  ASSERT_NE(MainProcBehind, nullptr);
  // A folder too long for the settings path: the save fails and the box shows.
  std::string longFolder(250, 'a');
  strcpy(App.ModuleDirectory, longFolder.c_str());
  SetRenameState(kRenameRunning);
  SendMessageA(window_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(IsWindow(window_));
  BoxWatch watch;
  watch.Main = window_;
  watch.MainThread = GetCurrentThreadId();
  HANDLE thread = CreateThread(nullptr, 0, AnswerSettingsBoxes, &watch, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // The first tick destroys the window; its box is open until the watch
  // has seen the ticks and the close it waits for.
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window_); }, 2 * kEventWaitMs));
  PumpPending();
  InterlockedExchange(&watch.Stop, 1);
  // The watch's count is read once it has ended; its waits have deadlines.
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  CloseHandle(thread);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(watch.Boxes, 1);
  EXPECT_TRUE(watch.SawTicksAndClose) << "the box's loop did not serve ticks and the close";
}

TEST(LogBridge, SendingBeforeTheMainWindowExistsDoesNothing) {
  App.MainWindow = nullptr;
  EXPECT_EQ(SendLogRow('I', "too early"), 0);
}

TEST(LogList, RowsFromBeforeTheListAreShownFirstInOrder) {
  // A settings read error is logged before the list exists.
  InitializeCriticalSection(&App.LogLock);
  App.LogList = nullptr;
  App.LogRowCount = 0;
  App.ShowDebugRows = 0;
  AppendLogRow('E', "early one");
  AppendLogRow('x', "silent");
  AppendLogRow('E', "early two");
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  App.MainWindow = parent;
  ASSERT_NE(CreateLogList(), nullptr);
  AppendLogRow('I', "hint");
  std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Text, " early one");
  EXPECT_EQ(rows[0].Class, 'E');
  EXPECT_EQ(rows[1].Text, " early two");
  EXPECT_EQ(rows[2].Text, " hint");
  DestroyWindow(parent);
  App.LogList = nullptr;
  App.MainWindow = nullptr;
  DeleteCriticalSection(&App.LogLock);
}

}  // namespace
