#include "engine/worker_rules.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "conditions/text_rules.h"
#include "engine/new_name.h"
#include "common/bounded_text.h"

const char kRowNoMemory[] = "メモリ確保に失敗しました。";
const char kRowNoMemoryGrowth[] = "メモリ確保(realloc)に失敗しました。";
const char kRowNoSource[] = "該当する元ファイルがありません。";
const char kRowSerialOverflow[] = "新ファイル名の連番が桁数を超えたため処理を中止します。";
const char kRowEnd[] = "リネーム終了";

namespace {

// A text field of the record may lack its NUL; it is read up to its width.
template <size_t N>
void CopyField(char (&dst)[N], const char* src, size_t width) {
  size_t n = BoundedLength(src, width);
  if (n > N - 1) n = N - 1;
  std::memcpy(dst, src, n);
  dst[n] = '\0';
  DropHalfCharacter(dst);
}

void FormatRow(char (&row)[kWorkerRowSize], const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatTextV(row, sizeof row, format, args);
  va_end(args);
  // A cut row keeps whole characters only.
  DropHalfCharacter(row);
}

}  // namespace

void TakeRenameJob(RenameJob& job, const RenameSettings& s) {
  CopyField(job.SourceFolder, s.SourceFolder, sizeof s.SourceFolder);
  CopyField(job.SourceExtension, s.SourceExtension, sizeof s.SourceExtension);
  CopyField(job.SourceCommonPart, s.SourceCommonPart, sizeof s.SourceCommonPart);
  job.SourceDigits = s.SourceDigits;
  job.SourceFirst = s.SourceFirst;
  job.SourceLast = s.SourceLast;
  CopyField(job.NamePart1, s.NamePart1, sizeof s.NamePart1);
  CopyField(job.NamePart2, s.NamePart2, sizeof s.NamePart2);
  job.SerialDigits = s.SerialDigits;
  job.SerialStart = s.SerialStart;
  job.SerialStep = s.SerialStep;
  job.SeparatorKind = s.SeparatorKind;
}

bool ComposeSourcePattern(char (&pattern)[kWorkerPathSize], const RenameJob& job) {
  bool fits = FormatText(pattern, "%s\\%s*%s", job.SourceFolder, job.SourceCommonPart,
                         job.SourceExtension);
  if (!fits) pattern[0] = '\0';
  return fits;
}

bool TakesSourceName(const RenameJob& job, const char* name, int* number) {
  int n = 0;
  if (!SourceNameMatches(name, std::strlen(job.SourceCommonPart), job.SourceDigits,
                         std::strlen(job.SourceExtension), &n))
    return false;
  if (n < job.SourceFirst || n > job.SourceLast) return false;
  *number = n;
  return true;
}

bool ComposeOldName(char (&name)[kWorkerNameSize], const RenameJob& job, int number) {
  return SourceFileName(name, job.SourceCommonPart, job.SourceDigits, number,
                        job.SourceExtension);
}

bool ComposeNewName(char (&name)[kWorkerNameSize], const char* namePrefix, int serial,
                    const RenameJob& job) {
  char stem[kNewNameStemSize];
  bool fits = ComposeNewNameStem(stem, namePrefix, serial, job.SerialDigits);
  return FormatText(name, "%s%s", stem, job.SourceExtension) && fits;
}

bool ComposeFilePath(char (&path)[kWorkerPathSize], const char* folder, const char* name) {
  bool fits = FormatText(path, "%s\\%s", folder, name);
  if (!fits) path[0] = '\0';
  return fits;
}

ListMemory RuntimeListMemory() {
  ListMemory memory = {std::malloc, std::realloc, std::free};
  return memory;
}

bool CreateSourceNumberList(SourceNumberList& list, const ListMemory& memory) {
  list.Memory = memory;
  list.Count = 0;
  list.Numbers = static_cast<int32_t*>(memory.Allocate(kSourceListStep * sizeof(int32_t)));
  list.Room = list.Numbers != nullptr ? kSourceListStep : 0;
  return list.Numbers != nullptr;
}

bool AddSourceNumber(SourceNumberList& list, int32_t n) {
  list.Numbers[list.Count] = n;
  list.Count += 1;
  if (list.Count < list.Room) return true;
  size_t room = static_cast<size_t>(list.Room) + kSourceListStep;
  void* grown = list.Memory.Grow(list.Numbers, room * sizeof(int32_t));
  if (grown == nullptr) return false;
  list.Numbers = static_cast<int32_t*>(grown);
  list.Room = static_cast<int>(room);
  return true;
}

void SortSourceNumbers(SourceNumberList& list) {
  std::sort(list.Numbers, list.Numbers + list.Count);
}

void FreeSourceNumberList(SourceNumberList& list) {
  if (list.Numbers != nullptr) list.Memory.Free(list.Numbers);
  list.Numbers = nullptr;
  list.Count = 0;
  list.Room = 0;
}

int NextSerial(int serial, int step) {
  int64_t next = static_cast<int64_t>(serial) + step;
  if (next > INT32_MAX) return INT32_MAX;
  if (next < INT32_MIN) return INT32_MIN;
  return static_cast<int>(next);
}

int PauseAfterFile(int fileCount) { return fileCount < 50 ? 100 : 50; }

RenameErrorRule RenameErrorFor(unsigned long code) {
  switch (code) {
    case 2:  // ERROR_FILE_NOT_FOUND
      return {"元ファイルが見つかりません", false};
    case 183:  // ERROR_ALREADY_EXISTS
      return {"新ファイル名はすでに存在します。処理を中止します。", true};
    case 19:  // ERROR_WRITE_PROTECT
      return {"書き込み禁止です。処理を中止します。", true};
    case 1235:  // ERROR_REQUEST_ABORTED
      return {"キャンセルされました。処理を中止します。", true};
    default:
      return {"その他エラー", false};
  }
}

void FormatStartRow(char (&row)[kWorkerRowSize], int first, int last, const char* folder) {
  FormatRow(row, "リネーム開始　元ファイル開始番号：%d  終了番号：%d  フォルダ：%s", first, last,
            folder);
}

void FormatRenamedRow(char (&row)[kWorkerRowSize], const char* oldName, const char* newName) {
  FormatRow(row, "%s -> %s  ＯＫ", oldName, newName);
}

void FormatFailedRow(char (&row)[kWorkerRowSize], const char* oldName, const char* newName) {
  FormatRow(row, "%s -> %s  失敗", oldName, newName);
}

void FormatErrorCodeRow(char (&row)[kWorkerRowSize], unsigned long code) {
  FormatRow(row, "%s (Err Code = %d)", RenameErrorFor(code).Message, static_cast<int>(code));
}

void FormatResultRow(char (&row)[kWorkerRowSize], int successes, int failures) {
  FormatRow(row, "リネーム結果  成功数 = %d  失敗数 = %d", successes, failures);
}
