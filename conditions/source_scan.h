// The folder scan for the lowest and highest numbers of a numbered run.
// Reads the file system only; called by the conditions dialog on the main
// thread.
#pragma once
#include "conditions/source_choice.h"

// Searches folder\commonPart*extension (a full stop is put in front of an
// extension text that lacks one) and counts every entry that CountScanEntry
// accepts, in the order the system returns them. Starts from, and without
// any entry keeps, the chosen file's number.
SourceRange ScanSourceRange(const char* folder, const char* commonPart, const char* extensionText,
                            int expectedLength, int digits, int chosenNumber);
