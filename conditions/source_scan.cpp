#include "conditions/source_scan.h"

#include <windows.h>

SourceRange ScanSourceRange(const char* folder, const char* commonPart, const char* extensionText,
                            int expectedLength, int digits, int chosenNumber) {
  SourceRange range = StartSourceRange(chosenNumber);
  char pattern[kScanPatternSize];
  if (!ComposeScanPattern(pattern, folder, commonPart, extensionText)) return range;
  WIN32_FIND_DATAA entry = {};
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return range;
  do {
    CountScanEntry(range, entry.cFileName, expectedLength, digits);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return range;
}
