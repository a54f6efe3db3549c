// Perch's set-up window: start-up with its single-instance rule, the window
// procedure and the message loop. Perch's one thread only.
#pragma once
#include <windows.h>

// Runs Perch to its end; answers the process's exit code.
int RunPerch(HINSTANCE instance, int showCommand);
