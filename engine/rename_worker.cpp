#include "engine/rename_worker.h"

#include "engine/new_name.h"
#include "engine/worker_rules.h"
#include "shell/activity_log.h"
#include "shell/app_state.h"

namespace {

// How the search for the run's files ended.
enum ListingResult { kListingDone, kListingGrowthFailed };

// Lists the numbers of the run's files in the job's range, in the order the
// system returns them. A folder that cannot be searched gives an empty list.
ListingResult ListSourceNumbers(const RenameJob& job, SourceNumberList& list) {
  char pattern[kWorkerPathSize];
  if (!ComposeSourcePattern(pattern, job)) return kListingDone;
  WIN32_FIND_DATAA entry = {};
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return kListingDone;
  ListingResult result = kListingDone;
  do {
    int number = 0;
    if (!TakesSourceName(job, entry.cFileName, &number)) continue;
    if (!AddSourceNumber(list, number)) {
      SendLogRow('E', kRowNoMemoryGrowth);
      result = kListingGrowthFailed;
      break;
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return result;
}

// One file: the rename and its rows. Returns false when its error stops the
// run.
bool RenameOneFile(const RenameJob& job, const char* namePrefix, int number, int& serial,
                   int& successes, int& failures) {
  char oldName[kWorkerNameSize];
  char newName[kWorkerNameSize];
  char oldPath[kWorkerPathSize];
  char newPath[kWorkerPathSize];
  char row[kWorkerRowSize];
  bool pathsFit = ComposeOldName(oldName, job, number);
  pathsFit = ComposeNewName(newName, namePrefix, serial, job) && pathsFit;
  pathsFit = ComposeFilePath(oldPath, job.SourceFolder, oldName) && pathsFit;
  pathsFit = ComposeFilePath(newPath, job.SourceFolder, newName) && pathsFit;
  // A name or path that does not fit is never handed to the system cut short:
  // it counts as a failed rename with the system's own code for it.
  DWORD code = ERROR_FILENAME_EXCED_RANGE;
  if (pathsFit) {
    if (MoveFileA(oldPath, newPath)) {
      successes += 1;
      FormatRenamedRow(row, oldName, newName);
      SendLogRow('I', row);
      serial = NextSerial(serial, job.SerialStep);
      return true;
    }
    code = GetLastError();
  }
  failures += 1;
  FormatFailedRow(row, oldName, newName);
  SendLogRow('E', row);
  FormatErrorCodeRow(row, code);
  SendLogRow('E', row);
  return !RenameErrorFor(code).StopsRun;
}

void RenameNumbers(const RenameJob& job, const SourceNumberList& list) {
  char namePrefix[kNamePrefixSize];
  ComposeNamePrefix(namePrefix, job.NamePart1, job.NamePart2, job.SeparatorKind,
                    job.SerialDigits);
  int maxSerial = MaxSerial(job.SerialDigits);
  int serial = job.SerialStart;
  int successes = 0;
  int failures = 0;
  int pause = PauseAfterFile(list.Count);
  for (int i = 0; i < list.Count; ++i) {
    if (serial > maxSerial) {
      SendLogRow('E', kRowSerialOverflow);
      break;
    }
    if (!RenameOneFile(job, namePrefix, list.Numbers[i], serial, successes, failures)) break;
    Sleep(pause);
  }
  char row[kWorkerRowSize];
  FormatResultRow(row, successes, failures);
  SendLogRow('I', row);
}

void RunRename(const RenameJob& job) {
  char row[kWorkerRowSize];
  FormatStartRow(row, job.SourceFirst, job.SourceLast, job.SourceFolder);
  SendLogRow('c', row);

  SourceNumberList list = {};
  if (!CreateSourceNumberList(list)) {
    SendLogRow('E', kRowNoMemory);
    SendLogRow('c', kRowEnd);
    return;
  }
  ListingResult listing = ListSourceNumbers(job, list);
  if (listing == kListingGrowthFailed || list.Count == 0) {
    // A failed growth renames nothing, not even the files already found.
    if (list.Count == 0) SendLogRow('E', kRowNoSource);
    FreeSourceNumberList(list);
    SendLogRow('c', kRowEnd);
    return;
  }
  SortSourceNumbers(list);
  RenameNumbers(job, list);
  FreeSourceNumberList(list);
  SendLogRow('c', kRowEnd);
}

}  // namespace

DWORD WINAPI RenameWorkerThread(LPVOID) {
  // The values are taken once; a record committed during the run does not
  // change this job.
  RenameJob job;
  TakeRenameJob(job, Settings);
  RunRename(job);
  SetRenameState(kRenameEnded);
  return 0;
}
