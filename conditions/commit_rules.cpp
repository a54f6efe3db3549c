#include "conditions/commit_rules.h"

#include <climits>
#include <cstring>

#include "conditions/text_rules.h"
#include "engine/new_name.h"
#include "resources/tessel_resource.h"
#include "common/bounded_text.h"

const char* const kCommitRefusalCaption = "エラー";

namespace {

struct CheckText {
  int Check;
  int Focus;
  const char* Message;
};

// The message and focus of every refusal with a fixed text.
const CheckText kCheckTexts[] = {
    {kRefuseRenameRunning, kFocusUnchanged, "改名処理の実行中です。処理が終わってから実行してください。  "},
    {kRefuseCdRom, IDC_BROWSE, "指定のファイルは名前を変更できません。（ＣＤ－ＲＯＭ）  "},
    {kRefuseNoFolder, IDC_BROWSE, "指定のフォルダは存在しません。 "},
    {kRefuseNotFolder, IDC_BROWSE, "指定のフォルダはフォルダではありません。  "},
    {kRefuseStartEmpty, IDC_START_NUMBER, "元ファイル連番開始番号が未入力です。  "},
    {kRefuseStartNotDigits, IDC_START_NUMBER,
     "元ファイル連番開始番号に数字でない文字が入力されています。  "},
    {kRefuseStartTooLong, IDC_START_NUMBER, "元ファイル連番開始番号が桁数を超えています。  "},
    {kRefuseEndEmpty, IDC_END_NUMBER, "元ファイル連番終了番号が未入力です。  "},
    {kRefuseEndNotDigits, IDC_END_NUMBER,
     "元ファイル連番終了番号に数字でない文字が入力されています。  "},
    {kRefuseEndTooLong, IDC_END_NUMBER, "元ファイル連番終了番号が桁数を超えています。  "},
    {kRefuseStartAfterEnd, IDC_START_NUMBER, "連番 開始番号 > 連番 終了番号 です。  "},
    {kRefusePart1Character, IDC_NAME_PART1, "ファイル名に \\/:*?\"<>|. は使用できません。　"},
    {kRefusePart1TooLong, IDC_NAME_PART1, "ＡＢＡＢは半角３９文字（全角１９文字）以内で入力してください。  "},
    {kRefusePart2Character, IDC_NAME_PART2, "ファイル名に \\/:*?\"<>|. は使用できません。　"},
    {kRefusePart2TooLong, IDC_NAME_PART2, "ＣＤＣＤは半角３９文字（全角１９文字）以内で入力してください。  "},
    {kRefuseSerialDigitsRange, IDC_SERIAL_DIGITS, "連番の桁数は０～９で入力してください。  "},
    {kRefuseSerialRequired, IDC_SERIAL_DIGITS, "開始番号≠終了番号のときは連番が必要です。  "},
    {kRefuseSerialStartEmpty, IDC_SERIAL_START, "新ファイル名の連番の開始番号が未入力です。  "},
    {kRefuseSerialStartNotDigits, IDC_SERIAL_START,
     "連番の開始番号に数字でない文字が入力されています。  "},
    {kRefuseSerialStartTooLong, IDC_SERIAL_START, "連番の開始番号が桁数を超えています。  "},
    {kRefuseNothingToName, IDC_NAME_PART1, "新ファイル名が未入力です。  "},
    {kRefuseStepNeedsDigits, IDC_SERIAL_DIGITS,
     "増分が１０のときは桁数は２以上を設定して下さい。  "},
    {kRefusePathTooLong, IDC_NAME_PART1,
     "フォルダとファイル名を合わせた長さが、Windows で扱える長さを超えています。  "},
};

// Step 18 names the length of the digit run, so its text is formatted.
const char kTooManyDigitsFormat[] =
    "新ファイル名の最後が９桁を超える連続数字になっています。(%d 連続) \n"
    "（セパレータ文字を使用すればＯＫです。） ";

bool Refuse(CommitRefusal& refusal, int check) {
  for (const CheckText& t : kCheckTexts) {
    if (t.Check != check) continue;
    refusal.Check = check;
    refusal.Focus = t.Focus;
    CopyText(refusal.Message, t.Message);
    return false;
  }
  refusal.Check = check;
  refusal.Focus = kFocusUnchanged;
  refusal.Message[0] = '\0';
  return false;
}

// One number of the source range: present, all digits, within the digit
// count. Returns the failed check, or kCommitAccepted with *value set.
int CheckSourceNumber(const char* text, int digits, int emptyCheck, int* value) {
  if (text[0] == '\0') return emptyCheck;
  if (IsAllDigits(text) == -1) return emptyCheck + 1;
  *value = DecimalValue(text);
  if (!FitsInDigits(digits, *value)) return emptyCheck + 2;
  return kCommitAccepted;
}

// One name part: allowed characters, then the width of its field.
int CheckNamePart(const char* text, int characterCheck, char (&field)[40]) {
  if (text[0] != '\0' && !IsValidNamePart(text)) return characterCheck;
  if (std::strlen(text) > kNamePartMax) return characterCheck + 1;
  CopyText(field, text);
  return kCommitAccepted;
}

// Whether the folder, a backslash and the name stay below MAX_PATH.
bool FitsBelowMaxPath(const char* folder, const char* name, bool countsCharacters) {
  char path[2 * kMaxPath];
  return FormatText(path, "%s\\%s", folder, name) && !ReachesMaxPath(path, countsCharacters);
}

// The run's old name (S, k digits, E) and its new name (the first one with
// the extension: every new name has its length) must both fit the folder,
// or MoveFileA would refuse every file of the run.
bool RunFitsBelowMaxPath(const RenameSettings& w, bool countsCharacters) {
  char oldName[kFieldTextSize];
  int digits = w.SourceDigits > 0 ? w.SourceDigits : 0;
  if (!SourceFileName(oldName, w.SourceCommonPart, digits, w.SourceFirst, w.SourceExtension))
    return false;
  char prefix[kNamePrefixSize];
  char stem[kNewNameStemSize];
  char newName[kNewNameStemSize + sizeof w.SourceExtension];
  ComposeNamePrefix(prefix, w.NamePart1, w.NamePart2, w.SeparatorKind, w.SerialDigits);
  ComposeNewNameStem(stem, prefix, w.SerialStart, w.SerialDigits);
  FormatText(newName, "%s%s", stem, w.SourceExtension);
  return FitsBelowMaxPath(w.SourceFolder, oldName, countsCharacters) &&
         FitsBelowMaxPath(w.SourceFolder, newName, countsCharacters);
}

}  // namespace

bool CheckCommitFields(const CommitFields& f, RenameSettings& w, CommitRefusal& refusal) {
  refusal.Check = kCommitAccepted;
  refusal.Focus = kFocusUnchanged;
  refusal.Message[0] = '\0';

  // Only one job at a time: the running worker took its values at its start,
  // and a second one would share its log bridge.
  if (f.RenameRunning) return Refuse(refusal, kRefuseRenameRunning);

  if (f.FolderIsCdRom) return Refuse(refusal, kRefuseCdRom);
  if (!f.FolderExists) return Refuse(refusal, kRefuseNoFolder);
  if (!f.FolderIsDirectory) return Refuse(refusal, kRefuseNotFolder);

  char folder[sizeof w.SourceFolder];
  CopyText(folder, f.Folder);
  StripTrailingBackslash(folder);
  CopyText(w.SourceFolder, folder);
  CopyText(w.SourceCommonPart, f.CommonPart);
  if (f.Extension[0] == '.') {
    CopyText(w.SourceExtension, f.Extension);
  } else {
    FormatText(w.SourceExtension, ".%s", f.Extension);
  }
  w.SourceDigits = DecimalValue(f.SourceDigits);

  if (w.SourceDigits <= 0) {
    w.SourceFirst = 0;
    w.SourceLast = 0;
  } else {
    int first = 0;
    int last = 0;
    int check = CheckSourceNumber(f.StartNumber, w.SourceDigits, kRefuseStartEmpty, &first);
    if (check != kCommitAccepted) return Refuse(refusal, check);
    w.SourceFirst = first;
    check = CheckSourceNumber(f.EndNumber, w.SourceDigits, kRefuseEndEmpty, &last);
    if (check != kCommitAccepted) return Refuse(refusal, check);
    w.SourceLast = last;
    if (w.SourceFirst > w.SourceLast) return Refuse(refusal, kRefuseStartAfterEnd);
  }

  int check = CheckNamePart(f.Part1, kRefusePart1Character, w.NamePart1);
  if (check != kCommitAccepted) return Refuse(refusal, check);
  check = CheckNamePart(f.Part2, kRefusePart2Character, w.NamePart2);
  if (check != kCommitAccepted) return Refuse(refusal, check);

  // The up-down offers 0..9 only, but a typed count is refused here, since
  // the serial composition and its limits are defined for 0..9.
  int serialDigits = DecimalValue(f.SerialDigits);
  if (serialDigits < 0 || serialDigits > 9) return Refuse(refusal, kRefuseSerialDigitsRange);
  if (serialDigits == 0 && w.SourceFirst != w.SourceLast)
    return Refuse(refusal, kRefuseSerialRequired);
  w.SerialDigits = serialDigits;

  if (w.SerialDigits > 0) {
    int start = 0;
    check = CheckSourceNumber(f.SerialStart, w.SerialDigits, kRefuseSerialStartEmpty, &start);
    if (check != kCommitAccepted) return Refuse(refusal, check);
    w.SerialStart = start;
  } else {
    w.SerialStart = 0;
  }

  if (w.NamePart1[0] == '\0' && w.NamePart2[0] == '\0' && w.SerialDigits == 0)
    return Refuse(refusal, kRefuseNothingToName);

  w.SerialStep = f.StepOne ? 1 : 10;
  if (w.SerialStep == 10 && w.SerialDigits < 2) return Refuse(refusal, kRefuseStepNeedsDigits);

  if (f.SeparatorIndex == 2) {
    // Without a separator the parts and the serial make one run of digits;
    // more than 9 in a row would read as one number.
    char joined[2 * sizeof w.NamePart1];
    FormatText(joined, "%s%s", w.NamePart1, w.NamePart2);
    int run = w.SerialDigits + TrailingDigitRun(joined).Count;
    if (run > 9) {
      Refuse(refusal, kRefuseTooManyDigits);
      refusal.Focus = IDC_SERIAL_START;
      FormatText(refusal.Message, kTooManyDigitsFormat, run);
      return false;
    }
  }
  w.SeparatorKind = f.SeparatorIndex;

  if (!RunFitsBelowMaxPath(w, f.CountsCharacters)) return Refuse(refusal, kRefusePathTooLong);
  return true;
}

void ComposeConfirmationText(char (&text)[kExchangeTextSize], const RenameSettings& w) {
  char prefix[kNamePrefixSize];
  char stem[kNewNameStemSize];
  ComposeNamePrefix(prefix, w.NamePart1, w.NamePart2, w.SeparatorKind, w.SerialDigits);
  ComposeNewNameStem(stem, prefix, w.SerialStart, w.SerialDigits);
  FormatText(text, "%c%s", w.SerialDigits > 0 ? '1' : '0', stem);
}

void CompleteCommit(RenameSettings& w, const CommitFields& f, const char* autoSetPart1,
                    const char* autoSetPart2) {
  w.ShowConfirmation = f.ConfirmationTicked ? '1' : '0';
  w.AutoDate = f.AutoDate ? 1 : 0;
  w.DatePosition = f.DatePosition;
  // A capture date that was put in and left as it was is not a value the
  // user chose, so it stays out of the history.
  if (std::strcmp(w.NamePart1, autoSetPart1) != 0) UpdateHistory(w.Part1History, w.NamePart1);
  if (std::strcmp(w.NamePart2, autoSetPart2) != 0) UpdateHistory(w.Part2History, w.NamePart2);
}

bool IsValidNamePart(const char* text) {
  static const char kForbidden[] = "\\/:*?\"<>|.";
  // Windows takes no byte 0x01-0x1F in a file name; a capture date read
  // from a damaged photo can carry one. No double-byte character holds such
  // a byte either, so every byte is looked at.
  for (size_t i = 0; text[i] != '\0'; ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x20) return false;
  }
  size_t i = 0;
  while (text[i] != '\0') {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c) && text[i + 1] != '\0') {
      i += 2;
      continue;
    }
    if (std::strchr(kForbidden, c) != nullptr) return false;
    i += 1;
  }
  return true;
}

void UpdateHistory(char (&history)[kHistorySlots][kHistoryWidth], const char* value) {
  if (value[0] == '\0') return;
  int found = kHistorySlots;
  for (int i = 0; i < kHistorySlots; ++i) {
    const char* entry = history[i];
    if (entry[0] != '\0' && BoundedLength(entry, kHistoryWidth) == std::strlen(value) &&
        std::memcmp(entry, value, std::strlen(value)) == 0) {
      found = i;
      break;
    }
  }
  if (found == 0) return;
  // Entries move whole, bytes behind their NUL included; a new value lets
  // the last entry fall out.
  int moved = found < kHistorySlots ? found : kHistorySlots - 1;
  std::memmove(history[1], history[0], static_cast<size_t>(moved) * kHistoryWidth);
  CopyText(history[0], value);
  CutShiftJis(history[0], kHistoryWidth - 1);
}

int DecimalValue(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

DatePlacement PlaceCaptureDate(const char* date, int datePosition) {
  DatePlacement p = {};
  size_t length = std::strlen(date);
  char year[kCaptureDateTextSize] = "";
  char monthDay[kCaptureDateTextSize] = "";
  char full[kCaptureDateTextSize] = "";
  CopyText(full, date);
  CopyText(year, date);
  if (length > 4) year[4] = '\0';
  CopyText(monthDay, length > 4 ? date + length - 4 : date);
  switch (datePosition) {
    case 0:
      p.SetsPart1 = p.SetsPart2 = true;
      CopyText(p.Part1, year);
      CopyText(p.Part2, monthDay);
      break;
    case 1:
      p.SetsPart1 = true;
      CopyText(p.Part1, full);
      break;
    case 2:
      p.SetsPart1 = true;
      CopyText(p.Part1, monthDay);
      break;
    case 3:
      p.SetsPart2 = true;
      CopyText(p.Part2, full);
      break;
    case 4:
      p.SetsPart2 = true;
      CopyText(p.Part2, monthDay);
      break;
    default:
      break;
  }
  return p;
}
