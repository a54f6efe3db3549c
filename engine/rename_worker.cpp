#include "engine/rename_worker.h"

#include "shell/app_state.h"

// Placeholder until the worker lands: ends at once.
DWORD WINAPI RenameWorkerThread(LPVOID) {
  SetRenameState(kRenameEnded);
  return 0;
}
