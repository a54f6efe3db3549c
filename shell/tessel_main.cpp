// Tessel's entry: the command line and the show command are not used; the
// main window always opens in its normal state.
#include <windows.h>

#include "shell/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunTessel(instance); }
