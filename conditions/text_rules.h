// Shift-JIS text rules for file names and paths: the digit run at the end of a
// name, the pieces of a path, and which names belong to a numbered run.
// Pure: no <windows.h>; any thread may call them.
// A byte 0x81-0x9F or 0xE0-0xFC starts a double-byte character, and every rule
// steps over such a character whole: its second byte is never a backslash,
// a full stop or a digit. Lengths are in bytes.
#pragma once
#include <cstddef>

// The run of ASCII digits at the very end of a text. Value is the run's
// decimal value; it is only meaningful for runs of at most 9 digits.
struct DigitRun {
  int Count;
  int Value;
};
DigitRun TrailingDigitRun(const char* text);

// The length of the text when every byte is an ASCII digit (0 for an empty
// text); -1 as soon as one byte is not.
int IsAllDigits(const char* text);

// Whether value fits in the given number of decimal digits (0 digits: only 0).
bool FitsInDigits(int digits, int value);

// Path pieces. Each writes a NUL-terminated text into out (outSize bytes) and
// returns false when it had to be cut.
// The folder: the bytes before the last backslash ("D:" for a drive root);
// empty when the path has none.
bool PathFolderN(char* out, size_t outSize, const char* path);
// The last component without its extension; empty when the path has no
// backslash.
bool PathBaseNameN(char* out, size_t outSize, const char* path);
// The extension of the last component without its full stop, ending before a
// space if one follows; empty when the last component has no full stop.
bool PathExtensionN(char* out, size_t outSize, const char* path);

template <size_t N>
inline bool PathFolder(char (&out)[N], const char* path) {
  return PathFolderN(out, N, path);
}
template <size_t N>
inline bool PathBaseName(char (&out)[N], const char* path) {
  return PathBaseNameN(out, N, path);
}
template <size_t N>
inline bool PathExtension(char (&out)[N], const char* path) {
  return PathExtensionN(out, N, path);
}

// Removes one trailing single-byte backslash, in place. The second byte of a
// double-byte character (表 is 95 5C) is left alone.
void StripTrailingBackslash(char* path);

// Byte offset of the first single-byte full stop, or the text's length when
// it has none.
size_t FirstFullStop(const char* text);

// The digit run at the end of the part of a name before its first full stop.
DigitRun NumberBeforeFullStop(const char* name);

// Membership of a numbered run: a name of exactly
// commonLength + digits + extensionLength bytes whose part before its first
// full stop ends in a run of exactly `digits` digits. *number receives that
// run's value (0 for digits 0). Digit counts outside 0..9 match nothing, so a
// damaged record can never make a number that does not fit.
bool SourceNameMatches(const char* name, size_t commonLength, int digits, size_t extensionLength,
                       int* number);

// The name of the file of number n in the run: commonPart, n with exactly
// `digits` digits and leading zeros (nothing for digits 0), extension.
// False when it does not fit in out, or digits lies outside 0..9.
bool SourceFileNameN(char* out, size_t outSize, const char* commonPart, int digits, int number,
                     const char* extension);
template <size_t N>
inline bool SourceFileName(char (&out)[N], const char* commonPart, int digits, int number,
                           const char* extension) {
  return SourceFileNameN(out, N, commonPart, digits, number, extension);
}

// Drops a lead byte left alone at the end of a text (a cut that split a
// double-byte character). Returns the new length.
size_t DropHalfCharacter(char* text);

// True when two texts are equal, ASCII letters compared without case.
bool EqualsIgnoringAsciiCase(const char* a, const char* b);

// MAX_PATH: the ANSI calls (MoveFileA among them) refuse a path this long.
enum { kMaxPath = 260 };

// A path's length as Windows measures it against MAX_PATH: in characters on
// Windows NT and later, where a double-byte character is one, since there
// the path goes on in Unicode; in bytes on Windows 95, 98 and Me.
size_t PathLengthForLimit(const char* path, bool countsCharacters);

// Whether a path reaches MAX_PATH, so that no ANSI call takes it.
inline bool ReachesMaxPath(const char* path, bool countsCharacters) {
  return PathLengthForLimit(path, countsCharacters) >= kMaxPath;
}
