#include "shell/activity_log.h"

#include <commctrl.h>

#include "shell/app_state.h"
#include "common/bounded_text.h"
#include "shell/log_rules.h"

namespace {

// Rows appended before the list exists (a settings read error at start-up)
// wait here and go into the list, in order, when it is created.
enum { kPendingRows = 8 };
struct PendingRow {
  int RowClass;
  char Text[kLogRowTextSize];
};
PendingRow PendingRows[kPendingRows];
int PendingCount = 0;

// Once the list is full, a row pushes out the oldest, and the list's drawing
// is held while that happens: the deletion and the insertion would each bring
// the list's scroll bars up to date and redraw them (under Wine's theme about
// 8 ms each, and a worker's row waits for it), whereas the hold does that once
// when it ends. Afterwards the list is invalidated whole, without erasing:
// the deletion has moved every row up by one, and each row paints its own
// line. Below 300 rows an insertion only adds a row at the end, and the list's
// own update (the scroll bars once, the new row) is cheaper than a hold and a
// whole repaint.
void InsertPlannedRow(const LogAppendPlan& plan, int rowClass) {
  bool hold = plan.DeleteFirst;
  if (hold) {
    SendMessageA(App.LogList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(App.LogList, LVM_DELETEITEM, 0, 0);
    App.LogRowCount -= 1;
  }
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = App.LogRowCount;
  item.pszText = const_cast<char*>(plan.RowText);
  item.lParam = static_cast<LPARAM>(static_cast<signed char>(rowClass));
  SendMessageA(App.LogList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  App.LogRowCount += 1;
  SendMessageA(App.LogList, LVM_ENSUREVISIBLE, App.LogRowCount - 1, TRUE);
  if (hold) {
    SendMessageA(App.LogList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(App.LogList, nullptr, FALSE);
  }
}

}  // namespace

void AppendLogRow(int rowClass, const char* text) {
  if (IsLogRowDropped(rowClass, App.ShowDebugRows)) return;
  EnterCriticalSection(&App.LogLock);
  if (App.LogList == nullptr) {
    if (!IsLogRowSilent(rowClass) && PendingCount < kPendingRows) {
      PendingRows[PendingCount].RowClass = rowClass;
      CopyText(PendingRows[PendingCount].Text, text);
      ++PendingCount;
    }
  } else {
    LogAppendPlan plan;
    PlanLogAppend(plan, App.LogRowCount, rowClass, text, App.ShowDebugRows);
    if (!plan.Skip) InsertPlannedRow(plan, rowClass);
  }
  LeaveCriticalSection(&App.LogLock);
}

LRESULT SendLogRow(int rowClass, const char* text) {
  if (App.MainWindow == nullptr) return 0;
  App.BridgeClass = static_cast<signed char>(rowClass);
  CopyText(App.BridgeText, text);
  CutShiftJis(App.BridgeText, sizeof App.BridgeText - 1);
  return SendMessageA(App.MainWindow, WM_APP_LOGROW, 0, 0);
}

HWND CreateStatusBar() {
  App.StatusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "",
                                  WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0, 0,
                                  App.MainWindow, reinterpret_cast<HMENU>(kStatusBarId),
                                  App.Instance, nullptr);
  RECT bar = {};
  GetWindowRect(App.StatusBar, &bar);
  App.StatusBarHeight = bar.bottom - bar.top;
  App.ClockWidth = ClockWidthFor(App.StatusBarHeight);
  int edges[2] = {(bar.right - bar.left) - App.ClockWidth, -1};
  SendMessageA(App.StatusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  return App.StatusBar;
}

HWND CreateLogList() {
  RECT client = {};
  GetClientRect(App.MainWindow, &client);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "SysListView32", "",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER, client.left,
                              client.top + 2, client.right - client.left,
                              client.bottom - client.top - App.StatusBarHeight - 4, App.MainWindow,
                              reinterpret_cast<HMENU>(kLogListId), App.Instance, nullptr);
  if (list == nullptr) return nullptr;
  LRESULT style = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style | LVS_EX_FULLROWSELECT);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(App.ListFont), FALSE);
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = client.right - client.left;
  column.pszText = const_cast<char*>("");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

  EnterCriticalSection(&App.LogLock);
  App.LogList = list;
  for (int i = 0; i < PendingCount; ++i) {
    LogAppendPlan plan;
    PlanLogAppend(plan, App.LogRowCount, PendingRows[i].RowClass, PendingRows[i].Text,
                  App.ShowDebugRows);
    if (!plan.Skip) InsertPlannedRow(plan, PendingRows[i].RowClass);
  }
  PendingCount = 0;
  LeaveCriticalSection(&App.LogLock);
  return list;
}

LRESULT SetStatusText(int part, const char* text) {
  return SendMessageA(App.StatusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                      reinterpret_cast<LPARAM>(text));
}

void LayoutLogAndStatus(UINT message, WPARAM wParam, LPARAM lParam) {
  RECT client = {};
  GetClientRect(App.MainWindow, &client);
  if (App.LogList != nullptr) {
    MoveWindow(App.LogList, client.left, client.top + 2, client.right - client.left,
               client.bottom - client.top - App.StatusBarHeight - 4, TRUE);
    SendMessageA(App.LogList, LVM_SETCOLUMNWIDTH, 0, client.right - client.left - 22);
  }
  if (App.StatusBar != nullptr) {
    SendMessageA(App.StatusBar, message, wParam, lParam);
    int edges[2] = {(client.right - client.left) - App.ClockWidth, -1};
    SendMessageA(App.StatusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  }
}

LRESULT OnLogCustomDraw(LPARAM lParam) {
  NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      int rowClass = static_cast<signed char>(draw->nmcd.lItemlParam & 0xFF);
      draw->clrText = LogRowColour(rowClass);
      draw->clrTextBk = kColourWhite;
      return CDRF_DODEFAULT;
    }
    default:
      return 0;
  }
}

void OnClockTick() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  if (ClockQuarter(now.wSecond) == ClockQuarter(App.LastClockTime.wSecond)) return;
  App.LastClockTime = now;
  char text[64];
  FormatClockText(text, now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute,
                  now.wSecond, App.ClockWidth);
  SetStatusText(1, text);
}

HFONT CreateGothicFont(int height) {
  LOGFONTA font = {};
  font.lfHeight = height;
  font.lfCharSet = SHIFTJIS_CHARSET;
  CopyText(font.lfFaceName, "ＭＳ ゴシック");
  return CreateFontIndirectA(&font);
}
