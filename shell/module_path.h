// Paths of the program's own folder. Pure: no <windows.h>.
#pragma once

// The folder of an executable's full path, without the trailing backslash.
// Double-byte characters are stepped over, so a second byte 0x5C never ends
// the folder. A path without a backslash after its first byte is kept whole.
void ModuleDirectoryFromPath(char (&dir)[256], const char* exePath);
