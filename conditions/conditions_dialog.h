// The rename conditions dialog (template 101). Main thread only.
#pragma once
#include <windows.h>

// Runs the dialog modal to `owner`: 1 when the conditions were committed into
// the settings record, 0 when the user cancelled.
INT_PTR RunConditionsDialog(HWND owner);
