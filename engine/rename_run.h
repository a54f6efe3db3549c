// One rename run, step by step: list the run's numbers, sort them, rename
// each file to its new name, log every row and pause after each file. The
// run asks the platform for everything it does through RenameRunOps, so the
// whole order of its renames, rows and pauses is decided here.
// Pure: no <windows.h>. The worker thread supplies the Win32 operations.
#pragma once

#include "engine/worker_rules.h"

// What the run needs from the platform. Context is handed back to each call.
struct RenameRunOps {
  void* Context;
  // Opens the search for `pattern` and gives its first name; false when the
  // search cannot be opened (the listing is then empty).
  bool (*FirstName)(void* context, const char* pattern, const char** name);
  // The next name of the open search; false when there is none.
  bool (*NextName)(void* context, const char** name);
  // Closes the search opened by FirstName.
  void (*CloseSearch)(void* context);
  // One rename call. False when it failed; *code then holds the system's
  // error code.
  bool (*Rename)(void* context, const char* oldPath, const char* newPath, unsigned long* code);
  // One log row, delivered before the call returns.
  void (*SendRow)(void* context, char rowClass, const char* text);
  // The pause after a file.
  void (*Pause)(void* context, int milliseconds);
  // The memory of the list of the run's numbers.
  ListMemory Memory;
};

// Carries out the job from the start row to the end row "リネーム終了".
// The caller sets RenameState afterwards.
void RunRenameJob(const RenameJob& job, const RenameRunOps& ops);
