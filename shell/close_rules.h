// When the main window may go after a close request. Pure: no <windows.h>.
#pragma once

enum CloseAction { kCloseNow, kCloseWaitForWorker };

// A close request during a rename waits for the worker; otherwise the
// window goes at once.
inline CloseAction CloseRequestAction(int renameState) {
  return renameState == 1 ? kCloseWaitForWorker : kCloseNow;
}

// A shutdown tick (after adding it to the count) ends the wait once the
// worker is no longer running, or after more than ten ticks.
inline bool ShutdownTickEndsWait(int renameState, int ticks) {
  return renameState != 1 || ticks > 10;
}
