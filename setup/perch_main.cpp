// Perch's entry: it reads no command line; the window opens with the show
// command the process was started with.
#include <windows.h>

#include "setup/perch_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return RunPerch(instance, showCommand);
}
