// window_rect <class> <timeout ms> <output file>: waits for a visible
// top-level window of that class (any process of this desktop), lets it
// settle with the pointer off it, and writes its screen rectangle as
// "x y width height". Run it in the same Wine desktop as the program
// (explorer /desktop=<name> window_rect ...).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: window_rect <class> <timeout ms> <output file>\n");
    return 2;
  }
  int timeout = atoi(argv[2]);
  DWORD start = GetTickCount();
  HWND window = nullptr;
  while ((window = FindWindowA(argv[1], nullptr)) == nullptr || !IsWindowVisible(window)) {
    if (static_cast<int>(GetTickCount() - start) > timeout) return 1;
    Sleep(100);
  }
  // Xvfb starts the pointer at the screen's centre, over a centred window:
  // move it to the screen's corner so that it is not in the picture.
  RECT r;
  GetWindowRect(window, &r);
  POINT cursor;
  if (GetCursorPos(&cursor) && PtInRect(&r, cursor)) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 24, GetSystemMetrics(SM_CYSCREEN) - 28);
  }
  Sleep(1500);  // the first clock tick and the first paint
  GetWindowRect(window, &r);
  FILE* out = fopen(argv[3], "w");
  if (out == nullptr) return 1;
  fprintf(out, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  fclose(out);
  return 0;
}
