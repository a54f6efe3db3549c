// late_loop [seconds | never]: shows a window captioned "Late loop" and only
// then takes its first message after that many seconds, or never, as a
// program busy with its start-up does. The driver's own check starts it.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = "TesselLateLoop";
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Late loop", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                100, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  if (strcmp(arguments, "never") == 0) {
    for (;;) Sleep(INFINITE);
  }
  Sleep(static_cast<DWORD>(atoi(arguments)) * 1000);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
