// Writing the chosen shortcuts through the shell link object and removing
// the target's download mark. Perch's one thread only; runs inside OK.
#pragma once
#include <windows.h>

#include "setup/registration.h"

// The shell's side of the registration: special folders, the link object,
// the stream and the closing message (the completion, or a warning naming
// the shortcuts not written) owned by `owner`.
RegistrationOps ShellRegistration(HWND owner);

// Makes the shortcuts of `choices` through `platform`, removes the download
// mark and says whether every shortcut was written; with neither box ticked
// does nothing.
void RegisterShortcuts(const RegistrationOps& platform, const char* toolFolder,
                       const SetupInstructions& instructions, const SetupChoices& choices);

// 1 when the link file was saved, 0 otherwise. Icon index 0 and the normal
// show command are fixed.
int WriteShortcut(const char* linkPath, const char* targetPath, const char* description,
                  const char* arguments, const char* workingDirectory, const char* iconPath);

// 1 when the target's Zone.Identifier stream existed and was deleted.
int RemoveDownloadMark(const char* toolFolder, const char* targetFileName);
