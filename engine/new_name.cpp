#include "engine/new_name.h"

#include "common/bounded_text.h"

namespace {

// Serial counts beyond nine digits could not be told apart from a wrapped
// 32-bit value, so they are held at nine.
int ClampSerialDigits(int serialDigits) { return serialDigits > 9 ? 9 : serialDigits; }

}  // namespace

const char* SeparatorText(int separatorKind) {
  switch (separatorKind) {
    case 1:
      return "-";
    case 2:
      return "";
    default:
      return "_";
  }
}

bool ComposeNamePrefix(char (&prefix)[kNamePrefixSize], const char* part1, const char* part2,
                       int separatorKind, int serialDigits) {
  const char* separator = SeparatorText(separatorKind);
  bool fits = true;
  prefix[0] = '\0';
  if (part1[0] != '\0') {
    fits = AppendText(prefix, part1) && fits;
    if (part2[0] != '\0') {
      fits = AppendText(prefix, separator) && fits;
      fits = AppendText(prefix, part2) && fits;
    }
  } else if (part2[0] != '\0') {
    fits = AppendText(prefix, part2) && fits;
  }
  if (prefix[0] != '\0' && serialDigits > 0) fits = AppendText(prefix, separator) && fits;
  return fits;
}

void FormatSerial(char (&text)[kSerialTextSize], int serial, int serialDigits) {
  if (serialDigits <= 0) {
    text[0] = '\0';
    return;
  }
  FormatText(text, "%0*d", ClampSerialDigits(serialDigits), serial);
}

int MaxSerial(int serialDigits) {
  int digits = ClampSerialDigits(serialDigits);
  int limit = 1;
  for (int i = 0; i < digits; ++i) limit *= 10;
  return limit - 1;
}

bool ComposeNewNameStem(char (&stem)[kNewNameStemSize], const char* prefix, int serial,
                        int serialDigits) {
  char serialText[kSerialTextSize];
  FormatSerial(serialText, serial, serialDigits);
  bool fits = CopyText(stem, prefix);
  return AppendText(stem, serialText) && fits;
}
