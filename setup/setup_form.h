// Perch's window: its texts, the six controls' layout, marks and enabling,
// what each command does, and the window's geometry. Pure: no <windows.h>;
// Perch has one thread, which calls all.
#pragma once

#include "setup/instructions.h"
#include "setup/setup_sizes.h"
#include "setup/shortcut_plan.h"

// Perch's command ids are 1000 + the control's slot.
enum {
  kSlotCount = 7,  // slot 0 is never used
  IDC_PERCH_OK = 1001,
  IDC_PERCH_CANCEL = 1002,
  IDC_PERCH_DESKTOP = 1003,
  IDC_PERCH_START_MENU = 1004,
  IDC_PERCH_IN_START = 1005,
  IDC_PERCH_IN_PROGRAMS = 1006,
};

// Button styles of the controls; the same values as BS_PUSHBUTTON,
// BS_CHECKBOX and BS_RADIOBUTTON (the non-automatic kinds: Perch sets the
// marks itself).
enum { kStylePushButton = 0, kStyleCheckBox = 2, kStyleRadioButton = 4 };

// ---- The window's texts ----------------------------------------------------

void ComposeCaption(char (&caption)[kMessageSize], const SetupInstructions& instructions);
void ComposeCancelMessage(char (&message)[kMessageSize], const SetupInstructions& instructions);

extern const char kPerchClassName[];
extern const char kFirstCaption[];
extern const char kHeading[];
extern const char kUnreadableInstructions[];
extern const char kUnheldFolder[];
extern const char kSetupCaption[];
extern const char kCancelCaption[];
extern const char kCloseQuestion[];
extern const char kCompletionMessage[];

// ---- The controls ------------------------------------------------------------

struct ControlSlot {
  int Id;
  int ButtonStyle;
  int X, Y, Width, Height;
  int Exists;   // the control window was made
  int Checked;  // its mark
  int Enabled;
};

// The six controls in slots 1 to 6; slot 0 is never used.
struct SetupForm {
  ControlSlot Slots[kSlotCount];
};

// Positions by the three layout rules for the font's average character
// width, ids, styles and the marks and enabling the window starts with.
// No control exists yet.
void LayoutSetupForm(SetupForm& form, int charWidth, int osKind);
// The label of the control in `slot` (1 to 6); the second radio button
// speaks of "All Programs" from Windows XP on.
const char* ControlLabel(int slot, int osKind);

// The choices the window starts with: both boxes ticked, Programs folder.
void InitialChoices(SetupChoices& choices);

enum CommandAnswer { kCommandContinue, kCommandRegister, kCommandCancel };

// What a command does to the choices, the marks and the enabling. The
// notification code is not looked at, so only the id is passed.
CommandAnswer ApplySetupCommand(SetupForm& form, SetupChoices& choices, int osKind, int id);

// ---- Geometry ----------------------------------------------------------------

// The window's top-left corner that centres it on the screen.
struct Point {
  int X, Y;
};
Point CentredPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// The etched frame inside a client rectangle: two grey lines (left, top),
// then two white ones (bottom, right), each from its first point up to but
// not including its second.
struct FrameLine {
  int FromX, FromY, ToX, ToY;
  int White;
};
void EtchedFrame(FrameLine (&lines)[4], int left, int top, int right, int bottom);
