// Help menu dialogs: usage notes (104), home page (109), version (110).
// Main thread only; their results are not used.
#pragma once
#include <windows.h>

void ShowHelpDialog(HWND owner);
void ShowHomePageDialog(HWND owner);
void ShowVersionDialog(HWND owner);
