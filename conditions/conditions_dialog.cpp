#include "conditions/conditions_dialog.h"

// Template 101 and its procedure come with the conditions dialog; until then
// command 121 opens nothing and starts nothing.
INT_PTR RunConditionsDialog(HWND) { return 0; }
