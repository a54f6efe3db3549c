// Process-wide state of Perch, made while the set-up window is created and
// owned by that window, which frees its GDI objects and icon when destroyed.
// Perch has one thread.
#pragma once
#include <windows.h>

#include "setup/instructions.h"
#include "setup/setup_form.h"

struct PerchState {
  HINSTANCE Instance;
  HWND Window;
  int OsKind;
  SetupInstructions Instructions;
  SetupChoices Choices;
  char ToolFolder[kPathSize];
  SetupForm Form;
  HWND Controls[kSlotCount];
  RECT WindowRect;
  RECT ClientRect;
  COLORREF Background;
  HBRUSH BackgroundBrush;
  HFONT Font;
  int CharWidth;
  HICON TargetIcon;
};

extern PerchState Perch;
