// The class of the running Windows and the OS line Perch paints for it.
// Pure: no <windows.h>.
#pragma once

#include "setup/setup_sizes.h"

// 0 unknown (platform 0), 1 Windows 95 to Me, 2 NT, 3 2000, 4 XP, 5 Vista,
// 6 7, 7 anything newer or else.
int ClassifyOs(unsigned long platformId, unsigned long major, unsigned long minor);
// The name shown in the OS line; empty outside 1 to 6.
const char* OsDisplayName(int osKind);
// Whether the OS line is painted at all.
inline bool ShowsOsLine(int osKind) { return osKind < 7; }
void ComposeOsLine(char (&line)[kMessageSize], int osKind);
