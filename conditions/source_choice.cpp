#include "conditions/source_choice.h"

#include <cstring>

#include "conditions/text_rules.h"
#include "common/bounded_text.h"

const char* const kSourceRefusalCaption = "条件設定";

namespace {

const char kRefusedDigits[] = "元ファイル名の連番部が９桁を超えるため処理できません。";
const char kRefusedCommonPart[] = "元ファイルの共通部名が４２文字を超えるため処理できません。";
const char kRefusedExtension[] = "元ファイルの拡張子が１４文字を超えるため処理できません。";
const char kRefusedName[] =
    "フォルダ名かファイル名に、Tessel で扱えない文字が含まれているため処理できません。\n"
    "（フォルダ名やファイル名を変更すれば選択できます。）";
const char kRefusedPath[] =
    "フォルダとファイル名を合わせた長さが、Windows で扱える長さを超えるため処理できません。\n"
    "（フォルダ名やファイル名を短くすれば選択できます。）";

// Room for any piece of a path that fits the chooser's 384-byte buffer.
enum { kPieceSize = 512 };

}  // namespace

void RefuseUnheldSourceName(SourceChoice& choice, bool tooLong) {
  std::memset(&choice, 0, sizeof choice);
  choice.Refusal = tooLong ? kSourcePathTooLong : kSourceNameNotHeld;
  choice.RefusalText = tooLong ? kRefusedPath : kRefusedName;
}

void AnalyseSourceChoice(SourceChoice& choice, const char* path, bool countsCharacters) {
  std::memset(&choice, 0, sizeof choice);

  // No ANSI call takes a path this long: the scan would find nothing and
  // every rename would fail.
  if (ReachesMaxPath(path, countsCharacters)) {
    RefuseUnheldSourceName(choice, true);
    return;
  }

  // SourceExtension holds a full stop and 14 bytes; a longer extension is
  // refused, so no control ever holds a text that the record cannot keep.
  char extension[kPieceSize];
  bool extensionFits = PathExtension(extension, path);
  if (!extensionFits || std::strlen(extension) > kSourceExtensionMax) {
    choice.Refusal = kSourceExtensionTooLong;
    choice.RefusalText = kRefusedExtension;
    return;
  }

  char baseName[kPieceSize];
  PathBaseName(baseName, path);
  FormatText(choice.Extension, ".%s", extension);
  PathFolder(choice.Folder, path);
  choice.ExpectedLength = static_cast<int>(std::strlen(baseName) + std::strlen(choice.Extension));

  DigitRun run = TrailingDigitRun(baseName);
  if (run.Count > kSourceDigitsMax) {
    choice.Refusal = kSourceTooManyDigits;
    choice.RefusalText = kRefusedDigits;
    return;
  }
  choice.StartNumber = run.Value;

  size_t commonLength = std::strlen(baseName) - static_cast<size_t>(run.Count);
  if (commonLength > kSourceCommonPartMax) {
    choice.Refusal = kSourceCommonPartTooLong;
    choice.RefusalText = kRefusedCommonPart;
    return;
  }
  std::memcpy(choice.CommonPart, baseName, commonLength);
  choice.CommonPart[commonLength] = '\0';
  choice.Digits = run.Count;
  choice.IsPhoto = EqualsIgnoringAsciiCase(choice.Extension, ".jpg");
}

bool ComposeScanPatternN(char* out, size_t outSize, const char* folder, const char* commonPart,
                         const char* extensionText) {
  const char* stop = extensionText[0] == '.' ? "" : ".";
  bool fits = FormatTextN(out, outSize, "%s\\%s*%s%s", folder, commonPart, stop, extensionText);
  if (!fits && outSize > 0) out[0] = '\0';
  return fits;
}

SourceRange StartSourceRange(int chosenNumber) { return SourceRange{chosenNumber, chosenNumber}; }

bool CountScanEntry(SourceRange& range, const char* name, int expectedLength, int digits) {
  if (expectedLength < 0 || std::strlen(name) != static_cast<size_t>(expectedLength)) return false;
  // Any name of the expected length whose part before the first full stop
  // ends in exactly `digits` digits counts, as the wildcard search found it.
  DigitRun run = NumberBeforeFullStop(name);
  if (digits < 1 || digits > kSourceDigitsMax || run.Count != digits) return false;
  int number = run.Value;
  if (number < range.Lowest) range.Lowest = number;
  if (number > range.Highest) range.Highest = number;
  return true;
}

void FormatLowestHint(char (&out)[kRangeHintSize], int lowest) {
  FormatText(out, "（最小番号：%d）", lowest);
}

void FormatHighestHint(char (&out)[kRangeHintSize], int highest) {
  FormatText(out, "（最大番号：%d）", highest);
}
