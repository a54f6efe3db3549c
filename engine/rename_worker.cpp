#include "engine/rename_worker.h"

#include "engine/rename_run.h"
#include "engine/worker_rules.h"
#include "shell/activity_log.h"
#include "shell/app_state.h"

namespace {

// The open search of a run; one run per thread.
struct Win32Search {
  HANDLE Handle;
  WIN32_FIND_DATAA Entry;
};

bool FirstName(void* context, const char* pattern, const char** name) {
  Win32Search* search = static_cast<Win32Search*>(context);
  search->Handle = FindFirstFileA(pattern, &search->Entry);
  if (search->Handle == INVALID_HANDLE_VALUE) return false;
  *name = search->Entry.cFileName;
  return true;
}

bool NextName(void* context, const char** name) {
  Win32Search* search = static_cast<Win32Search*>(context);
  if (!FindNextFileA(search->Handle, &search->Entry)) return false;
  *name = search->Entry.cFileName;
  return true;
}

void CloseSearch(void* context) {
  Win32Search* search = static_cast<Win32Search*>(context);
  FindClose(search->Handle);
  search->Handle = INVALID_HANDLE_VALUE;
}

bool MoveOne(void*, const char* oldPath, const char* newPath, unsigned long* code) {
  if (MoveFileA(oldPath, newPath)) return true;
  *code = GetLastError();
  return false;
}

void SendRow(void*, char rowClass, const char* text) { SendLogRow(rowClass, text); }

void Pause(void*, int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace

RenameWorkerPlatform WorkerPlatform;

DWORD WINAPI RenameWorkerThread(LPVOID) {
  // The values are taken once; a record committed during the run does not
  // change this job.
  RenameJob job;
  TakeRenameJob(job, Settings);
  const RenameWorkerPlatform platform = WorkerPlatform;
  Win32Search search = {INVALID_HANDLE_VALUE, {}};
  RenameRunOps ops = {&search, FirstName, NextName, CloseSearch, MoveOne, SendRow, Pause,
                      platform.Memory};
  // Every way out of the run comes back here, where the resolution is given
  // back; only a raise that was granted is given back.
  bool raised = platform.BeginTimerPeriod(kPauseTimerResolution) == TIMERR_NOERROR;
  RunRenameJob(job, ops);
  if (raised) platform.EndTimerPeriod(kPauseTimerResolution);
  SetRenameState(kRenameEnded);
  return 0;
}
