// Perch.inf beside Perch: which program to make shortcuts for, under which
// title; and the paths composed from Perch's own folder. Pure: no <windows.h>.
#pragma once

#include "setup/setup_sizes.h"

struct SetupInstructions {
  char TargetFileName[kInstructionSize];
  char Title[kInstructionSize];
};

extern const char kInstructionFileName[];

// Reads one section of an INI-format file into `area` the way the profile
// reader does: entries each closed by a NUL, a final NUL; answers the number
// of characters copied, 0 when there is nothing.
typedef int (*SectionReader)(void* context, const char* section, char* area, int capacity,
                             const char* path);

// The folder of Perch's own executable, without its last backslash. The
// path is what the module-name call gave (`length` bytes); false when that
// call failed or cut the path, leaving `folder` empty.
bool ToolFolderFromModulePath(char (&folder)[kPathSize], const char* modulePath, int length);

// The first entry of a section area as the reader filled it, whole (a
// "name=value" line comes through as it stands), at most 77 bytes and never
// ending in half a double-byte character. Empty when `copied` is 0.
void FirstSectionEntry(char (&entry)[kInstructionSize], const char* area, int copied);

// Reads "実行ファイル名" and "タイトル" from `folder`\Perch.inf. Answers false
// (the instruction file is unreadable) when the executable-name section gives
// no entry, when that entry does not name a file in `folder` itself (it holds
// "\", "/" or ":", or is "." or ".."), or when the file's path would not fit
// in 259 bytes. A missing or empty title becomes "無題".
bool ReadInstructions(SetupInstructions& instructions, const char* folder, SectionReader reader,
                      void* context);

// folder + a backslash + name (+ suffix), or false, leaving `path` empty,
// when it would not fit in 259 bytes.
bool ComposePath(char (&path)[kPathSize], const char* folder, const char* name,
                 const char* suffix = "");
