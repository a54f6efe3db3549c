#include "shell/help_dialogs.h"

// Templates 104, 109 and 110 come with the help dialogs; until then the Help
// commands open nothing.
void ShowHelpDialog(HWND) {}
void ShowHomePageDialog(HWND) {}
void ShowVersionDialog(HWND) {}
