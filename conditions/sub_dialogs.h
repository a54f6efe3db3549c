// The three small dialogs of the conditions dialog: capture-date layout
// (template 102), history picker (103) and confirmation (105). Main thread
// only; each is modal to the conditions dialog and keeps nothing after it
// ends. The picker owns its image list and frees it on every way out.
#pragma once
#include <windows.h>

// 1: DialogState.CurrentDatePosition was set from the chosen row; 0: Cancel.
INT_PTR RunDateLayoutDialog(HWND owner);
// Lists the history that DialogState.HistoryTarget names (0: part 1,
// 1: part 2) from the settings record. 1: ExchangeText holds the picked
// entry; 0: Cancel.
INT_PTR RunHistoryPicker(HWND owner);
// Shows the first new name from ExchangeText (a flag character, '1' when the
// names carry a serial, then the name). 1: go on; 0: back to the conditions.
INT_PTR RunConfirmationDialog(HWND owner);
