// Which shortcuts the choices ask for, where, and what each one holds.
// Pure: no <windows.h>.
#pragma once

#include "setup/instructions.h"
#include "setup/setup_sizes.h"

struct SetupChoices {
  int AddToDesktop;        // 0 or 1
  int AddToStartMenu;      // 0 or 1
  int StartMenuPlacement;  // 1 directly in the Start menu, 2 in its Programs folder
};

// Special folders that receive shortcuts (CSIDL_DESKTOP, CSIDL_PROGRAMS,
// CSIDL_STARTMENU).
enum { kFolderDesktop = 0, kFolderPrograms = 2, kFolderStartMenu = 11 };

// One shortcut as the shell link object receives it.
struct ShortcutRequest {
  char LinkPath[kPathSize];
  char TargetPath[kPathSize];
  const char* Description;  // Perch's shortcuts carry none
  const char* Arguments;
  char WorkingDirectory[kPathSize];
  char IconPath[kPathSize];
  int IconIndex;
  int ShowCommand;
};

// Whether a title can name a file of its own in the shortcut folder. A title
// with a path separator, a drive or stream colon, a wildcard or a control
// character would write somewhere else or nowhere, so no link is made.
bool IsPlainFileName(const char* title);

// The request for a shortcut in `shortcutFolder`; false when a path would
// not fit in 259 bytes or the title cannot name a file there.
bool ComposeShortcutRequest(ShortcutRequest& request, const char* shortcutFolder,
                            const char* toolFolder, const SetupInstructions& instructions);

// The folders that receive shortcuts, desktop first; answers how many.
int PlanShortcutFolders(int (&folders)[2], const SetupChoices& choices);

// The target's download-mark stream; false when it would not fit.
bool ComposeDownloadMarkPath(char (&path)[kPathSize], const char* toolFolder,
                             const char* targetFileName);
