// Run-time state of the conditions dialog that outlives one opening, and the
// text buffer it shares with its sub-dialogs. Main thread only.
// The dialog owns PreviewBitmap and frees it on every way out.
#pragma once
#include <windows.h>

struct ConditionsDialogState {
  char CurrentFolder[384];  // folder of the chosen file, like SourceFolder
  int CurrentDatePosition;  // capture-date layout being edited, 0..4
  char AutoSetPart1[16];    // what the capture-date step last put into part 1
  char AutoSetPart2[16];    // ... and into part 2
  HBITMAP PreviewBitmap;    // the preview pane's picture, or none
  int HistoryTarget;        // 0: the picker serves part 1, 1: part 2
};

extern ConditionsDialogState DialogState;

// The history picker leaves its pick here; the commit puts the flag
// character and the first new name here for the confirmation dialog.
extern char ExchangeText[256];
