// Process-wide run-time state of Tessel. Main thread only, except:
// RenameState (one atomic 32-bit read or write per access; the worker only
// ever writes -1) and the log bridge (one sending worker at a time).
// The GDI objects here are made at start-up and deleted with the main window.
#pragma once
#include <windows.h>

#include "shell/log_rules.h"

enum {
  IDT_CLOCK = 11,     // clock, every 500 ms
  IDT_SHUTDOWN = 12,  // wait for a running rename after a close request, 1000 ms
  WM_APP_LOGROW = WM_APP + 11,
  kLogListId = 2,
  kStatusBarId = 5,
};

enum { kRenameIdle = 0, kRenameRunning = 1, kRenameEnded = -1 };

struct AppState {
  HINSTANCE Instance;
  HWND MainWindow;
  char ModuleDirectory[256];
  HWND LogList;
  HWND StatusBar;
  int StatusBarHeight;
  int ClockWidth;
  int LogRowCount;
  CRITICAL_SECTION LogLock;
  int ShowDebugRows;
  int BridgeClass;
  char BridgeText[kBridgeTextSize];
  SYSTEMTIME LastClockTime;
  volatile LONG RenameState;
  int ShutdownTicks;
  HFONT ListFont;
  HFONT ButtonFont;
  HFONT NumberFont;
  COLORREF FieldColour;
  HBRUSH FieldBrush;
  COLORREF FaceColour;
  HBRUSH FaceBrush;
  // Tessel.ini exists but could not be read at start-up: the defaults in
  // memory never replace it, and the user is told so at exit.
  bool SettingsFileKept;
  // The program's folder has no exact name in the code page (Windows NT):
  // its ANSI form would name another folder, so no Tessel.ini is read or
  // written, and the user is told so at exit.
  bool ModuleFolderUnheld;
};

extern AppState App;

inline LONG GetRenameState() { return InterlockedCompareExchange(&App.RenameState, 0, 0); }
inline void SetRenameState(LONG value) { InterlockedExchange(&App.RenameState, value); }
