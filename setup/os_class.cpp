#include "setup/os_class.h"

#include "common/bounded_text.h"

int ClassifyOs(unsigned long platformId, unsigned long major, unsigned long minor) {
  if (platformId == 0) return 0;
  if (platformId == 1) return 1;
  if (platformId >= 3) return 7;
  if (major == 4) return 2;
  if (major == 5) return minor == 0 ? 3 : 4;
  if (major == 6) {
    if (minor == 0) return 5;
    if (minor == 1) return 6;
    return 7;
  }
  return 7;
}

const char* OsDisplayName(int osKind) {
  switch (osKind) {
    case 1: return "Windows 95 ～ Me";
    case 2: return "Windows NT";
    case 3: return "Windows 2000";
    case 4: return "Windows XP";
    case 5: return "Windows Vista";
    case 6: return "Windows 7";
    default: return "";
  }
}

void ComposeOsLine(char (&line)[kMessageSize], int osKind) {
  FormatText(line, "(OS : %s)", OsDisplayName(osKind));
}

