#include "engine/rename_run.h"

#include "engine/new_name.h"

namespace {

// The system's code for a name or path that is too long
// (ERROR_FILENAME_EXCED_RANGE).
const unsigned long kNameTooLongCode = 206;

// How the search for the run's files ended.
enum ListingResult { kListingDone, kListingGrowthFailed };

// Lists the numbers of the run's files in the job's range, in the order the
// search returns them. A folder that cannot be searched gives an empty list.
ListingResult ListSourceNumbers(const RenameJob& job, const RenameRunOps& ops,
                                SourceNumberList& list) {
  char pattern[kWorkerPathSize];
  if (!ComposeSourcePattern(pattern, job)) return kListingDone;
  const char* name = nullptr;
  if (!ops.FirstName(ops.Context, pattern, &name)) return kListingDone;
  ListingResult result = kListingDone;
  do {
    int number = 0;
    if (!TakesSourceName(job, name, &number)) continue;
    if (!AddSourceNumber(list, number)) {
      ops.SendRow(ops.Context, 'E', kRowNoMemoryGrowth);
      result = kListingGrowthFailed;
      break;
    }
  } while (ops.NextName(ops.Context, &name));
  ops.CloseSearch(ops.Context);
  return result;
}

// One file: the rename and its rows. Returns false when its error stops the
// run.
bool RenameOneFile(const RenameJob& job, const RenameRunOps& ops, const char* namePrefix,
                   int number, int& serial, int& successes, int& failures) {
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
  unsigned long code = kNameTooLongCode;
  if (pathsFit) {
    if (ops.Rename(ops.Context, oldPath, newPath, &code)) {
      successes += 1;
      FormatRenamedRow(row, oldName, newName);
      ops.SendRow(ops.Context, 'I', row);
      serial = NextSerial(serial, job.SerialStep);
      return true;
    }
  }
  failures += 1;
  FormatFailedRow(row, oldName, newName);
  ops.SendRow(ops.Context, 'E', row);
  FormatErrorCodeRow(row, code);
  ops.SendRow(ops.Context, 'E', row);
  return !RenameErrorFor(code).StopsRun;
}

void RenameNumbers(const RenameJob& job, const RenameRunOps& ops, const SourceNumberList& list) {
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
      ops.SendRow(ops.Context, 'E', kRowSerialOverflow);
      break;
    }
    if (!RenameOneFile(job, ops, namePrefix, list.Numbers[i], serial, successes, failures)) break;
    ops.Pause(ops.Context, pause);
  }
  char row[kWorkerRowSize];
  FormatResultRow(row, successes, failures);
  ops.SendRow(ops.Context, 'I', row);
}

}  // namespace

void RunRenameJob(const RenameJob& job, const RenameRunOps& ops) {
  char row[kWorkerRowSize];
  FormatStartRow(row, job.SourceFirst, job.SourceLast, job.SourceFolder);
  ops.SendRow(ops.Context, 'c', row);

  SourceNumberList list = {};
  if (!CreateSourceNumberList(list, ops.Memory)) {
    ops.SendRow(ops.Context, 'E', kRowNoMemory);
    ops.SendRow(ops.Context, 'c', kRowEnd);
    return;
  }
  ListingResult listing = ListSourceNumbers(job, ops, list);
  if (listing == kListingGrowthFailed || list.Count == 0) {
    // A failed growth renames nothing, not even the files already found.
    if (list.Count == 0) ops.SendRow(ops.Context, 'E', kRowNoSource);
    FreeSourceNumberList(list);
    ops.SendRow(ops.Context, 'c', kRowEnd);
    return;
  }
  SortSourceNumbers(list);
  RenameNumbers(job, ops, list);
  FreeSourceNumberList(list);
  ops.SendRow(ops.Context, 'c', kRowEnd);
}
