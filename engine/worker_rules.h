// The rename worker's decisions: the job it takes from the settings record,
// its list of source numbers, the names and paths it builds, the texts of its
// log rows, the meaning of a failed rename's error code and its pauses.
// Pure: no <windows.h>. The worker thread owns its job and its list.
#pragma once
#include <cstddef>
#include <cstdint>

#include "shell/settings_record.h"

enum {
  kWorkerRowSize = 512,     // a row through the log bridge: 511 bytes and a NUL
  kWorkerNameSize = 128,    // an old or new file name
  kWorkerPathSize = 520,    // folder, backslash, name
  kSourceListStep = 100,    // the number list starts with, and grows by, 100
};

// The values a run uses, taken from the settings record once at its start;
// every text ends inside its field.
struct RenameJob {
  char SourceFolder[384];
  char SourceExtension[16];
  char SourceCommonPart[80];
  int32_t SourceDigits;
  int32_t SourceFirst;
  int32_t SourceLast;
  char NamePart1[40];
  char NamePart2[40];
  int32_t SerialDigits;
  int32_t SerialStart;
  int32_t SerialStep;
  int32_t SeparatorKind;
};
void TakeRenameJob(RenameJob& job, const RenameSettings& settings);

// folder\commonPart*extension. False when it does not fit.
bool ComposeSourcePattern(char (&pattern)[kWorkerPathSize], const RenameJob& job);
// Whether a name found by the search belongs to the run and lies in the
// job's range; *number receives its number.
bool TakesSourceName(const RenameJob& job, const char* name, int* number);
// The file of number n: commonPart, n in SourceDigits digits, extension.
bool ComposeOldName(char (&name)[kWorkerNameSize], const RenameJob& job, int number);
// The new name: the stem of the serial, then the job's extension as stored.
bool ComposeNewName(char (&name)[kWorkerNameSize], const char* namePrefix, int serial,
                    const RenameJob& job);
// folder\name. False when it does not fit; such a path is never used.
bool ComposeFilePath(char (&path)[kWorkerPathSize], const char* folder, const char* name);

// Where the list's memory comes from, with the contract of the C runtime's
// malloc, realloc and free: Allocate gives a block of `bytes` or null; Grow
// gives the block moved to `bytes` with its content, or null and leaves the
// block as it was; Free releases a block that either gave.
struct ListMemory {
  void* (*Allocate)(size_t bytes);
  void* (*Grow)(void* block, size_t bytes);
  void (*Free)(void* block);
};
// The C runtime's malloc, realloc and free.
ListMemory RuntimeListMemory();

// The growable list of source numbers, with the memory it was made from.
struct SourceNumberList {
  int32_t* Numbers;
  int Count;
  int Room;
  ListMemory Memory;
};
// Room for 100 numbers from `memory`. False when the memory cannot be had.
bool CreateSourceNumberList(SourceNumberList& list, const ListMemory& memory);
// Appends n; when the list is then full its room grows by 100. False when
// that growth fails; the numbers already stored stay.
bool AddSourceNumber(SourceNumberList& list, int32_t n);
// Ascending, compared as signed 32-bit numbers.
void SortSourceNumbers(SourceNumberList& list);
void FreeSourceNumberList(SourceNumberList& list);

// The serial after a successful rename. A step that would carry it past 32
// bits leaves it at the largest value, which no digit count admits, so the
// next file stops the run instead of wrapping to a name already given.
int NextSerial(int serial, int step);

// Pause after each file: 100 ms for runs under 50 files, 50 ms from 50.
int PauseAfterFile(int fileCount);
// The system timer's resolution during a run, in milliseconds, so that each
// pause lasts its length and not up to the next default tick.
enum { kPauseTimerResolution = 1 };

// What a failed rename's system error code means.
struct RenameErrorRule {
  const char* Message;
  bool StopsRun;
};
RenameErrorRule RenameErrorFor(unsigned long code);

// Row texts. Every formatted row is cut to 511 bytes without splitting a
// double-byte character.
extern const char kRowNoMemory[];        // "メモリ確保に失敗しました。"
extern const char kRowNoMemoryGrowth[];  // "メモリ確保(realloc)に失敗しました。"
extern const char kRowNoSource[];        // "該当する元ファイルがありません。"
extern const char kRowSerialOverflow[];  // "新ファイル名の連番が桁数を超えたため処理を中止します。"
extern const char kRowEnd[];             // "リネーム終了"
void FormatStartRow(char (&row)[kWorkerRowSize], int first, int last, const char* folder);
void FormatRenamedRow(char (&row)[kWorkerRowSize], const char* oldName, const char* newName);
void FormatFailedRow(char (&row)[kWorkerRowSize], const char* oldName, const char* newName);
void FormatErrorCodeRow(char (&row)[kWorkerRowSize], unsigned long code);
void FormatResultRow(char (&row)[kWorkerRowSize], int successes, int failures);
