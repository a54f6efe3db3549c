// The settings record: every user choice of Tessel in one fixed 1456-byte
// record, stored byte for byte as Tessel.ini beside the executable.
// Pure: no <windows.h>. The process-wide instance is touched by the main
// thread; the rename worker only reads it, once, when it starts.
#pragma once
#include <cstddef>
#include <cstdint>

enum {
  kSettingsFileSize = 1456,
  kSettingsFormatVersion = 110,
  kHistorySlots = 10,
  kHistoryWidth = 40,
};

struct RenameSettings {
  int32_t FormatVersion;
  char SourceFolder[384];
  char SourceExtension[16];
  char SourceCommonPart[80];
  int32_t SourceDigits;
  int32_t SourceFirst;
  int32_t SourceLast;
  char NamePart1[40];
  char NamePart2[40];
  int32_t SerialDigits;
  int32_t SerialStart;
  int32_t SerialStep;
  int32_t SeparatorKind;  // 0 "_", 1 "-", 2 none; anything else reads as "_"
  int32_t AutoDate;
  int32_t DatePosition;  // 0..4, see DatePosition values
  char Part1History[kHistorySlots][kHistoryWidth];
  char Part2History[kHistorySlots][kHistoryWidth];
  char ShowConfirmation;  // '1' show the confirmation dialog, '0' not
  char Reserved[39];      // never read; carried through load and save
  int32_t WindowLeft;
  int32_t WindowTop;
  int32_t WindowWidth;
  int32_t WindowHeight;
};

// The file is the raw record, so its layout is fixed on every width.
static_assert(sizeof(RenameSettings) == kSettingsFileSize, "record size");
static_assert(offsetof(RenameSettings, FormatVersion) == 0, "layout");
static_assert(offsetof(RenameSettings, SourceFolder) == 4, "layout");
static_assert(offsetof(RenameSettings, SourceExtension) == 388, "layout");
static_assert(offsetof(RenameSettings, SourceCommonPart) == 404, "layout");
static_assert(offsetof(RenameSettings, SourceDigits) == 484, "layout");
static_assert(offsetof(RenameSettings, SourceFirst) == 488, "layout");
static_assert(offsetof(RenameSettings, SourceLast) == 492, "layout");
static_assert(offsetof(RenameSettings, NamePart1) == 496, "layout");
static_assert(offsetof(RenameSettings, NamePart2) == 536, "layout");
static_assert(offsetof(RenameSettings, SerialDigits) == 576, "layout");
static_assert(offsetof(RenameSettings, SerialStart) == 580, "layout");
static_assert(offsetof(RenameSettings, SerialStep) == 584, "layout");
static_assert(offsetof(RenameSettings, SeparatorKind) == 588, "layout");
static_assert(offsetof(RenameSettings, AutoDate) == 592, "layout");
static_assert(offsetof(RenameSettings, DatePosition) == 596, "layout");
static_assert(offsetof(RenameSettings, Part1History) == 600, "layout");
static_assert(offsetof(RenameSettings, Part2History) == 1000, "layout");
static_assert(offsetof(RenameSettings, ShowConfirmation) == 1400, "layout");
static_assert(offsetof(RenameSettings, Reserved) == 1401, "layout");
static_assert(offsetof(RenameSettings, WindowLeft) == 1440, "layout");
static_assert(offsetof(RenameSettings, WindowTop) == 1444, "layout");
static_assert(offsetof(RenameSettings, WindowWidth) == 1448, "layout");
static_assert(offsetof(RenameSettings, WindowHeight) == 1452, "layout");

// The one record of the process. All bytes are zero until start-up fills it.
extern RenameSettings Settings;

// Fills the record with spaces, then writes the defaults field by field;
// strings are copied with their NUL only, so the bytes behind stay spaces.
void MakeDefaultSettings(RenameSettings& s);

// Takes a loaded file image. Returns false (the record untouched) when the
// image is shorter than the record: such a file counts as missing. Longer
// images give their first 1456 bytes. Every string field that lacks a NUL is
// cut at its width, so no reader can run past a field.
bool AcceptSettingsImage(RenameSettings& s, const unsigned char* bytes, size_t length);

// Any ShowConfirmation byte other than '0' becomes '1'.
void NormaliseShowConfirmation(RenameSettings& s);

// Fits the default window size to the system's frame metrics, once the
// status bar height is known. Only ever applied to a default record.
void FitDefaultWindowSize(RenameSettings& s, int frameX, int frameY, int captionButtonY,
                          int statusBarHeight);

// "<folder>\Tessel.ini" into a 256-byte path. False when it does not fit,
// or when there is no folder.
bool ComposeSettingsPath(char (&path)[256], const char* moduleDirectory);
