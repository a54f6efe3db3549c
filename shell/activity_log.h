// The activity log list, the status bar with its clock, and the bridge by
// which a worker thread adds log rows. Main thread only, except SendLogRow,
// which one worker thread at a time may call.
#pragma once
#include <windows.h>

// Appends a row; rows appended before the list exists are kept and shown,
// in order, when it is created.
void AppendLogRow(int rowClass, const char* text);
// From a worker: hands the row to the main thread and returns when it is in
// the list. Texts longer than 511 bytes are cut. Returns 0 before the main
// window exists.
LRESULT SendLogRow(int rowClass, const char* text);

HWND CreateStatusBar();
HWND CreateLogList();
LRESULT SetStatusText(int part, const char* text);
// Lays out the list and the status bar for the current client area.
void LayoutLogAndStatus(UINT message, WPARAM wParam, LPARAM lParam);
// The list's NM_CUSTOMDRAW: colours by class, white background.
LRESULT OnLogCustomDraw(LPARAM lParam);
// Timer IDT_CLOCK: redraws the clock when the quarter minute changed.
void OnClockTick();

// "ＭＳ ゴシック", Shift-JIS character set, the given cell height.
HFONT CreateGothicFont(int height);
