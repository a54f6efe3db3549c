// bench_one_window: the least a Win32 program does to show a window (a class,
// one overlapped window, show, paint, a message loop). The start-up figure of
// scripts/bench-tessel.sh compares Tessel.exe with it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "BenchOneWindow";
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, wc.lpszClassName, "one window", WS_OVERLAPPEDWINDOW, 200, 100,
                                584, 500, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    // The default procedure destroys the window on WM_CLOSE; the loop ends then.
    if (!IsWindow(window)) break;
  }
  return 0;
}
