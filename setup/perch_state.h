// Process-wide state of Perch, made while the set-up window is created and
// owned by that window, which frees its GDI objects and icon when destroyed.
// Perch has one thread.
#pragma once
#include <windows.h>

#include "setup/instructions.h"
#include "setup/registration.h"
#include "setup/setup_form.h"
#include "setup/shortcuts.h"

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
  // The platform side that OK registers through, for the set-up window that
  // owns the closing message: the shell's, unless a test records the
  // calls instead.
  RegistrationOps (*Registration)(HWND owner) = ShellRegistration;
};

extern PerchState Perch;

// The set-up window's class, PerchClass; false when it cannot be registered.
bool RegisterPerchClass(HINSTANCE instance);
// Creates the set-up window, not yet shown, at its first place and size;
// null when no window results (creation failed, or the instruction file was
// unreadable and the window went after its warning).
HWND CreatePerchWindow(HINSTANCE instance);
