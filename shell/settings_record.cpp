#include "shell/settings_record.h"

#include <cstring>

#include "common/bounded_text.h"

RenameSettings Settings;

namespace {

// Copies a default string with its NUL only; the bytes behind keep their spaces.
void PutString(char* field, const char* value) {
  memcpy(field, value, strlen(value) + 1);
}

void BoundField(char* field, size_t width) {
  if (BoundedLength(field, width) == width) field[width - 1] = '\0';
}

}  // namespace

void MakeDefaultSettings(RenameSettings& s) {
  memset(&s, ' ', sizeof s);
  s.FormatVersion = kSettingsFormatVersion;
  s.SourceFolder[0] = '\0';
  PutString(s.SourceExtension, ".jpg");
  PutString(s.SourceCommonPart, "PICT");
  s.SourceDigits = 4;
  s.SourceFirst = 0;
  s.SourceLast = 0;
  s.NamePart1[0] = '\0';
  s.NamePart2[0] = '\0';
  s.SerialDigits = 3;
  s.SerialStart = 1;
  s.SerialStep = 1;
  s.SeparatorKind = 0;
  s.AutoDate = 1;
  s.DatePosition = 0;
  for (int i = 0; i < kHistorySlots; ++i) {
    s.Part1History[i][0] = '\0';
    s.Part2History[i][0] = '\0';
  }
  PutString(s.Part1History[0], "北海道旅行");
  PutString(s.Part1History[1], "ヨーロッパ旅行");
  PutString(s.Part2History[0], "札幌");
  PutString(s.Part2History[1], "函館");
  s.ShowConfirmation = '1';
  s.WindowLeft = 200;
  s.WindowTop = 100;
  s.WindowWidth = 584;
  s.WindowHeight = 500;
}

bool AcceptSettingsImage(RenameSettings& s, const unsigned char* bytes, size_t length) {
  if (length < sizeof s) return false;
  memcpy(&s, bytes, sizeof s);
  BoundField(s.SourceFolder, sizeof s.SourceFolder);
  BoundField(s.SourceExtension, sizeof s.SourceExtension);
  BoundField(s.SourceCommonPart, sizeof s.SourceCommonPart);
  BoundField(s.NamePart1, sizeof s.NamePart1);
  BoundField(s.NamePart2, sizeof s.NamePart2);
  for (int i = 0; i < kHistorySlots; ++i) {
    BoundField(s.Part1History[i], kHistoryWidth);
    BoundField(s.Part2History[i], kHistoryWidth);
  }
  return true;
}

void NormaliseShowConfirmation(RenameSettings& s) {
  if (s.ShowConfirmation != '0') s.ShowConfirmation = '1';
}

void FitDefaultWindowSize(RenameSettings& s, int frameX, int frameY, int captionButtonY,
                          int statusBarHeight) {
  s.WindowWidth += 2 * frameX - 8;
  s.WindowHeight += statusBarHeight + captionButtonY + 2 * frameY - 26;
}

bool ComposeSettingsPath(char (&path)[256], const char* moduleDirectory) {
  // No folder is no folder: "\Tessel.ini" would be the root of the drive.
  if (moduleDirectory[0] == '\0' ||
      !FormatText(path, "%s\\%s", moduleDirectory, "Tessel.ini")) {
    path[0] = '\0';
    return false;
  }
  return true;
}
