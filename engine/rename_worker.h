// The rename worker thread. It takes its values from the settings record
// once, at its start, reports every row through SendLogRow, and sets
// RenameState to -1 as its last act on every path. One worker at a time:
// the log bridge carries one row from one thread.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "engine/worker_rules.h"

// The calls a run makes to the platform beside its files, rows and pauses,
// in one table for the process. A run takes a copy when it starts, so a
// change reaches the next run, never one in progress. Tests replace entries
// to make the platform fail; each entry keeps the contract of the call it
// stands for.
struct RenameWorkerPlatform {
  // The number list's memory; the C runtime's by default.
  ListMemory Memory = RuntimeListMemory();
  // The system timer's resolution, raised for the length of a run so that
  // the pauses after each file last what they say (at the default tick of
  // 15.625 ms a pause of 50 ms lasts up to 65.6 ms). They answer as
  // timeBeginPeriod and timeEndPeriod do.
  MMRESULT(WINAPI* BeginTimerPeriod)(UINT milliseconds) = timeBeginPeriod;
  MMRESULT(WINAPI* EndTimerPeriod)(UINT milliseconds) = timeEndPeriod;
};
extern RenameWorkerPlatform WorkerPlatform;

DWORD WINAPI RenameWorkerThread(LPVOID unused);
