// The rename worker thread. It takes its values from the settings record
// once, at its start, reports every row through SendLogRow, and sets
// RenameState to -1 as its last act on every path. One worker at a time:
// the log bridge carries one row from one thread.
#pragma once
#include <windows.h>

DWORD WINAPI RenameWorkerThread(LPVOID unused);
