// Writing the chosen shortcuts through the shell link object and removing
// the target's download mark. Perch's one thread only; runs inside OK.
#pragma once
#include <windows.h>

#include "setup/registration.h"

// Makes the shortcuts of `choices`, removes the download mark and shows the
// completion message owned by `owner`; with neither box ticked does nothing.
void RegisterShortcuts(HWND owner, const char* toolFolder, const SetupInstructions& instructions,
                       const SetupChoices& choices);

// 1 when the link file was saved, 0 otherwise. Icon index 0 and the normal
// show command are fixed.
int WriteShortcut(const char* linkPath, const char* targetPath, const char* description,
                  const char* arguments, const char* workingDirectory, const char* iconPath);

// 1 when the target's Zone.Identifier stream existed and was deleted.
int RemoveDownloadMark(const char* toolFolder, const char* targetFileName);
