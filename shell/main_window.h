// Tessel's main window: class TesselClass, menu 120, start-up, layout, close
// request, shutdown timer, session end and destruction. Main thread only.
#pragma once
#include <windows.h>

ATOM RegisterMainClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The whole program: class, window, message loop. Returns the exit code.
int RunTessel(HINSTANCE instance);
