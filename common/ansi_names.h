// The names that the ANSI calls see. Windows NT and later keep file names in
// Unicode and hand the ANSI calls their code-page form, where a character
// that the code page cannot hold becomes '?' or, by best fit, another
// character: the yen sign U+00A5 becomes 0x5C, a backslash, and the path
// then names another folder. On NT the programs therefore take a name in
// Unicode and use it only when the code page holds it exactly.
// Win32 layer of both programs (each compiles its own copy); any thread.
// The Unicode calls are looked up at run time, never imported, so that both
// programs still load on Windows 95, 98 and Me.
#pragma once
#include <windows.h>

#include <cstddef>

// Whether the running Windows is of the NT family (NT 4.0, 2000, XP and
// later), by GetVersionExA's platform id.
bool RunsOnNt();

// How a Unicode name fares in the ANSI code page.
enum HeldName {
  kNameHeld,     // its ANSI form names the same file
  kNameNotHeld,  // a character became '?' or another one
  kNameTooLong,  // its ANSI form does not fit
};

// The ANSI form of `wide` in `out` (outSize bytes, at most 1024), converted
// without flags (NT 4.0 refuses WC_NO_BEST_FIT_CHARS) and held only when no
// default character was used and it converts back to the same name. `out` is
// empty unless the answer is kNameHeld.
HeldName HoldWideName(char* out, int outSize, const wchar_t* wide);

// The full path of the program's own executable, as GetModuleFileNameA(
// nullptr, out, capacity) gives it: its length, 0 when the call failed,
// `capacity` when the path was cut. On NT the path is taken in Unicode, and
// the answer is -1, with `out` empty, when the code page cannot hold it.
int HeldModuleFileName(char* out, int capacity);
