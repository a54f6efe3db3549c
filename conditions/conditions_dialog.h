// The rename conditions dialog (template 101). Main thread only. The dialog
// owns DialogState.PreviewBitmap and frees it on every way out; only its
// commit writes the settings record, as one whole copy.
#pragma once
#include <windows.h>

// Runs the dialog modal to `owner`: 1 when the conditions were committed into
// the settings record, 0 when the user cancelled.
INT_PTR RunConditionsDialog(HWND owner);
