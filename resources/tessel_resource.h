// Resource and control ids of Tessel, shared by the resource scripts and the
// code. Grouped per window or dialog, in the order of its controls.
#pragma once

// Main window: menu 120 and its commands.
#define IDM_MAIN_MENU 120
#define IDM_RENAME 121
#define IDM_UNUSED_122 122
#define IDM_QUIT 123
#define IDM_HELP_USAGE 124
#define IDM_HELP_HOMEPAGE 125
#define IDM_HELP_VERSION 126

// Dialog templates.
#define IDD_CONDITIONS 101
#define IDD_DATE_LAYOUT 102
#define IDD_HISTORY 103
#define IDD_HELP 104
#define IDD_CONFIRM 105
#define IDD_HOMEPAGE 109
#define IDD_VERSION 110

// Bitmap of the history picker.
#define IDB_HISTORY_ROW 817

// Help dialogs (104, 109, 110).
#define IDC_HOMEPAGE_ADDRESS 1401
#define IDC_HOMEPAGE_GO 1411

// Conditions dialog (101) and its sub-dialogs (102, 103, 105).
// (ids added with those dialogs)
