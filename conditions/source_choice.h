// What choosing a source file means for the conditions dialog: the folder,
// common part, digit count, extension and start number of the numbered run,
// a refusal with its message when the name cannot be handled, and whether the
// file is a photo. Also the range hints and the folder-scan rule.
// Pure: no <windows.h>; the conditions dialog calls it on the main thread.
#pragma once
#include <cstddef>

enum {
  kSourceFolderSize = 384,        // like SourceFolder
  kSourceCommonPartMax = 42,      // bytes; a double-byte character counts two
  kSourceDigitsMax = 9,
  kSourceExtensionMax = 14,       // bytes after the full stop (SourceExtension holds 15)
  kSourceExtensionTextSize = 16,  // full stop, 14 bytes, NUL
  kSourceCommonPartSize = 80,     // like SourceCommonPart
  kScanPatternSize = 700,
  kRangeHintSize = 48,
};

// Why a chosen file is refused. A refused choice changes nothing in the
// dialog: it keeps showing, and would commit, the last accepted choice.
enum SourceRefusal {
  kSourceAccepted = 0,
  kSourceExtensionTooLong = 1,   // the extension does not fit SourceExtension
  kSourceTooManyDigits = 2,      // a number part of more than 9 digits
  kSourceCommonPartTooLong = 3,  // a common part of more than 42 bytes
  kSourceNameNotHeld = 4,        // the code page cannot hold the folder's or file's name
  kSourcePathTooLong = 5,        // the path reaches MAX_PATH
};

// Message box caption for every refusal while choosing a file.
extern const char* const kSourceRefusalCaption;  // "条件設定"

struct SourceChoice {
  int Refusal;              // a SourceRefusal
  const char* RefusalText;  // the message box text, or nullptr when accepted
  char Folder[kSourceFolderSize];           // CurrentFolder; "D:" for a drive root
  char Extension[kSourceExtensionTextSize];  // a full stop and the extension
  char CommonPart[kSourceCommonPartSize];    // the name in front of the number
  int Digits;          // 0..9; 0: the file carries no number
  int StartNumber;     // the chosen file's own number
  int ExpectedLength;  // bytes of a name of the run: base name + extension
  bool IsPhoto;        // the extension is ".jpg", letter case aside
};

// Analyses the full path that the file chooser returned. `countsCharacters`
// says how the path is measured against MAX_PATH (PathLengthForLimit): in
// characters, as Windows NT and later do, unless told otherwise.
void AnalyseSourceChoice(SourceChoice& choice, const char* path, bool countsCharacters = true);

// The refusal of a choice whose name has no ANSI form that names the same
// file: kSourceNameNotHeld, or kSourcePathTooLong when that form does not
// even fit the path buffer.
void RefuseUnheldSourceName(SourceChoice& choice, bool tooLong);

// The folder-scan pattern: folder, a backslash, common part, "*", and the
// extension text with a full stop put in front when it lacks one.
// False when the pattern does not fit; the scan is then skipped.
bool ComposeScanPatternN(char* out, size_t outSize, const char* folder, const char* commonPart,
                         const char* extensionText);
template <size_t N>
inline bool ComposeScanPattern(char (&out)[N], const char* folder, const char* commonPart,
                               const char* extensionText) {
  return ComposeScanPatternN(out, N, folder, commonPart, extensionText);
}

// The lowest and highest numbers of the run found so far.
struct SourceRange {
  int Lowest;
  int Highest;
};
// Starts at the chosen file's own number.
SourceRange StartSourceRange(int chosenNumber);
// Counts one entry of the folder scan: a name of exactly expectedLength bytes
// whose part before its first full stop ends in exactly `digits` digits.
// Returns whether the entry counted.
bool CountScanEntry(SourceRange& range, const char* name, int expectedLength, int digits);

// "（最小番号：%d）" and "（最大番号：%d）".
void FormatLowestHint(char (&out)[kRangeHintSize], int lowest);
void FormatHighestHint(char (&out)[kRangeHintSize], int highest);
