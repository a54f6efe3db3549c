// The one rule that makes a new file name from the rename conditions: name
// part 1, name part 2 and a serial number, joined by the separator. The
// rename worker and the commit of the conditions dialog both call it, so
// both produce the same name. Pure: no <windows.h>; any thread may call it.
#pragma once
#include <cstddef>

enum {
  kNamePrefixSize = 96,   // two 39-byte parts, two separators, NUL
  kSerialTextSize = 16,   // at most 9 digits and a NUL
  kNewNameStemSize = 112,  // prefix and serial
};

// "_" for 0, "-" for 1, "" for 2; any other kind reads as "_".
const char* SeparatorText(int separatorKind);

// The present name parts joined by the separator, with one more separator
// when a serial follows. A separator never leads, trails or doubles.
// False when the prefix had to be cut.
bool ComposeNamePrefix(char (&prefix)[kNamePrefixSize], const char* part1, const char* part2,
                       int separatorKind, int serialDigits);

// The serial zero-padded to serialDigits digits; empty for 0 digits or fewer.
// Digit counts above 9 are printed with 9 digits, matching MaxSerial.
void FormatSerial(char (&text)[kSerialTextSize], int serial, int serialDigits);

// The largest serial that fits: 10^digits - 1, 0 for 0 digits or fewer.
// Held at nine nines for counts above 9, so a serial never passes 32 bits.
int MaxSerial(int serialDigits);

// The prefix followed by FormatSerial of the serial. False when cut.
bool ComposeNewNameStem(char (&stem)[kNewNameStemSize], const char* prefix, int serial,
                        int serialDigits);
