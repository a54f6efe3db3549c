// window_rect <class> <timeout ms> <output file>: waits for a visible
// top-level window of that class (any process of this desktop), lets it
// settle with the pointer off it, and writes its screen rectangle as
// "x y width height". Run it in the same Wine desktop as the program
// (explorer /desktop=<name> window_rect ...).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A window or one of its visible children still waits for a paint.
BOOL CALLBACK FindUnpainted(HWND child, LPARAM found) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool Unpainted(HWND window) {
  bool found = GetUpdateRect(window, nullptr, FALSE) != FALSE;
  if (!found) EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Tessel's clock part (part 1 of the status bar, control 5) is empty until
// the first tick of its clock. Other windows have nothing to wait for.
bool ClockShown(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (strcmp(name, "TesselClass") != 0) return true;
  HWND bar = GetDlgItem(window, 5);
  DWORD_PTR length = 0;
  if (bar == nullptr || !SendMessageTimeoutA(bar, SB_GETTEXTLENGTHA, 1, 0, SMTO_NORMAL, 1000,
                                             &length)) {
    return false;
  }
  return LOWORD(length) > 0;
}

// A message sent to the window is handled only when its thread is back in
// its message loop, so a paint in progress has ended by then; the second
// send also waits for the idle moment in which Wine shows what was drawn.
bool ThreadIdle(HWND window) {
  for (int i = 0; i < 2; ++i) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: window_rect <class> <timeout ms> <output file>\n");
    return 2;
  }
  int timeout = atoi(argv[2]);
  DWORD start = GetTickCount();
  auto timeIsUp = [&] { return static_cast<int>(GetTickCount() - start) > timeout; };
  HWND window = nullptr;
  while ((window = FindWindowA(argv[1], nullptr)) == nullptr || !IsWindowVisible(window)) {
    if (timeIsUp()) return 1;
    Sleep(20);
  }
  // Xvfb starts the pointer at the screen's centre, over a centred window:
  // move it to the screen's corner so that it is not in the picture.
  RECT r;
  GetWindowRect(window, &r);
  POINT cursor;
  if (GetCursorPos(&cursor) && PtInRect(&r, cursor)) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 24, GetSystemMetrics(SM_CYSCREEN) - 28);
  }
  // Settled: the clock has ticked, nothing waits for a paint, and that still
  // holds once the window's thread has come back to its message loop.
  for (;;) {
    if (!IsWindow(window)) return 1;
    if (ClockShown(window) && !Unpainted(window) && ThreadIdle(window) && !Unpainted(window)) {
      break;
    }
    if (timeIsUp()) return 1;
    Sleep(20);
  }
  GetWindowRect(window, &r);
  FILE* out = fopen(argv[3], "w");
  if (out == nullptr) return 1;
  fprintf(out, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  fclose(out);
  return 0;
}
