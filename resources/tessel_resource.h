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
// 101, in tab order (IDOK 1 runs the commit, IDCANCEL 2 cancels).
#define IDC_AUTO_DATE_YES 1111
#define IDC_AUTO_DATE_NO 1112
#define IDC_AUTO_DATE_DETAILS 1426
#define IDC_BROWSE 1425
#define IDC_FOLDER 1402
#define IDC_COMMON_PART 1403
#define IDC_EXTENSION 1405
#define IDC_SOURCE_DIGITS 1404
#define IDC_START_NUMBER 1001
#define IDC_LOWEST_HINT 1411
#define IDC_END_NUMBER 1002
#define IDC_HIGHEST_HINT 1412
#define IDC_PREVIEW 1431
#define IDC_NAME_PART1 1005
#define IDC_PART1_HISTORY 1427
#define IDC_NAME_PART2 1006
#define IDC_PART2_HISTORY 1428
#define IDC_SERIAL_DIGITS 1007
#define IDC_SERIAL_SPIN 1422
#define IDC_SERIAL_START 1008
#define IDC_STEP_ONE 1106
#define IDC_STEP_TEN 1107
#define IDC_SEPARATOR_UNDERSCORE 1101
#define IDC_SEPARATOR_HYPHEN 1102
#define IDC_SEPARATOR_NONE 1103
#define IDC_SHOW_CONFIRMATION 1429
// 102: the rows of the capture-date layouts 0..4.
#define IDC_DATE_LAYOUT_FIRST 1101
#define IDC_DATE_LAYOUT_LAST 1105
// 103: the history list.
#define IDC_HISTORY_LIST 1401
// 105: the first new name and the words after it.
#define IDC_CONFIRM_NAME 1401
#define IDC_CONFIRM_TAIL 1402
