// The commit of the rename conditions as rules over what the dialog shows:
// the ordered checks with their messages and focus controls, the name-part
// rule, the history rule, the capture-date placement and the confirmation
// text. Pure: no <windows.h>; the conditions dialog calls it on the main
// thread and does the message boxes, the focus and the folder queries itself.
#pragma once
#include <cstddef>

#include "shell/settings_record.h"

enum {
  kFieldTextSize = 256,      // what the dialog reads from one control
  kNamePartMax = 39,         // NamePart1 and NamePart2 hold 39 bytes and a NUL
  kCommitMessageSize = 256,
  kFocusUnchanged = 0,       // a refusal that leaves the focus where it is
  kExchangeTextSize = 256,   // like ExchangeText
  kCaptureDateTextSize = 16,  // like AutoSetPart1 and AutoSetPart2
};

// The checks of the commit, in the order they run. Each refusal names the
// first check that failed.
enum CommitCheck {
  kCommitAccepted = 0,
  kRefuseRenameRunning,      // a worker runs: its job and the log bridge are its own
  kRefuseCdRom,              // steps 1 to 3: the folder
  kRefuseNoFolder,
  kRefuseNotFolder,
  kRefuseStartEmpty,         // steps 5 to 11: the source number range
  kRefuseStartNotDigits,
  kRefuseStartTooLong,
  kRefuseEndEmpty,
  kRefuseEndNotDigits,
  kRefuseEndTooLong,
  kRefuseStartAfterEnd,
  kRefusePart1Character,     // steps 12 and 13: the name parts
  kRefusePart1TooLong,
  kRefusePart2Character,
  kRefusePart2TooLong,
  kRefuseSerialDigitsRange,  // step 14: the serial digit count
  kRefuseSerialRequired,
  kRefuseSerialStartEmpty,   // step 15: the serial start
  kRefuseSerialStartNotDigits,
  kRefuseSerialStartTooLong,
  kRefuseNothingToName,      // step 16
  kRefuseStepNeedsDigits,    // step 17
  kRefuseTooManyDigits,      // step 18
  kRefusePathTooLong,        // a path of the run would reach MAX_PATH
};

// Everything the commit looks at, read from the dialog's controls and state
// and, for the folder, asked of the file system by the dialog.
struct CommitFields {
  bool RenameRunning;      // RenameState is 1
  bool FolderIsCdRom;      // the drive of the first three bytes of Folder
  bool FolderExists;       // attributes of Folder without its trailing backslash
  bool FolderIsDirectory;
  char Folder[384];                  // CurrentFolder
  char CommonPart[kFieldTextSize];   // 1403
  char SourceDigits[kFieldTextSize];  // 1404
  char Extension[kFieldTextSize];    // 1405
  char StartNumber[kFieldTextSize];  // 1001
  char EndNumber[kFieldTextSize];    // 1002
  char Part1[kFieldTextSize];        // 1005
  char Part2[kFieldTextSize];        // 1006
  char SerialDigits[kFieldTextSize];  // 1007
  char SerialStart[kFieldTextSize];  // 1008
  bool StepOne;                // 1106 selected (else the step is 10)
  int SeparatorIndex;          // the first selected of 1101..1103 as 0..2; 3 for none
  bool ConfirmationTicked;     // 1429
  bool AutoDate;               // 1111 selected
  int DatePosition;            // CurrentDatePosition
  bool CountsCharacters;       // Windows NT and later: paths are measured in characters
};

struct CommitRefusal {
  int Check;   // a CommitCheck
  int Focus;   // the control that gets the focus, or kFocusUnchanged
  char Message[kCommitMessageSize];
};

// Message box caption of every refusal of the commit.
extern const char* const kCommitRefusalCaption;  // "エラー"

// The checks, in order, stopping at the first failure. They fill the fields
// of the working copy w that they pass (source description, name parts,
// serial, step, separator); w is only worth keeping when the result is true.
bool CheckCommitFields(const CommitFields& fields, RenameSettings& w, CommitRefusal& refusal);

// What the confirmation dialog shows: '1' when the names carry a serial, '0'
// when not, then the first new name without extension.
void ComposeConfirmationText(char (&text)[kExchangeTextSize], const RenameSettings& w);

// The commit's last changes to the working copy: the confirmation switch,
// automatic dating, the date layout, and both histories, where a part that
// equals what the capture-date step put there is not added.
void CompleteCommit(RenameSettings& w, const CommitFields& fields, const char* autoSetPart1,
                    const char* autoSetPart2);

// A name part may hold no single-byte \ / : * ? " < > | or full stop; the
// second byte of a double-byte character is never one of them (ソ is 83 5C).
// No byte 0x01-0x1F is taken anywhere: Windows refuses them in file names.
bool IsValidNamePart(const char* text);

// Puts a committed value at the head of a history of ten 40-byte entries:
// a value already present moves up from where it was, a new one pushes the
// last entry out. Empty values change nothing.
void UpdateHistory(char (&history)[kHistorySlots][kHistoryWidth], const char* value);

// The decimal value of a text as a standard conversion reads it: leading
// blanks and a sign, digits up to the first other byte, 0 without a number.
// Held at the 32-bit limits instead of overflowing.
int DecimalValue(const char* text);

// Where a capture date "YYYYMMDD" goes for a layout 0..4: the year, the
// month and day, or the whole date, into part 1, part 2 or both. Any other
// layout sets nothing.
struct DatePlacement {
  bool SetsPart1;
  bool SetsPart2;
  char Part1[kCaptureDateTextSize];
  char Part2[kCaptureDateTextSize];
};
DatePlacement PlaceCaptureDate(const char* date, int datePosition);
