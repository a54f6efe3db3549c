#include "shell/module_path.h"

#include "common/bounded_text.h"

void ModuleDirectoryFromPath(char (&dir)[256], const char* exePath) {
  CopyText(dir, exePath);
  int cut = -1;
  for (int i = 0; dir[i] != '\0';) {
    unsigned char c = static_cast<unsigned char>(dir[i]);
    if (IsLeadByte(c) && dir[i + 1] != '\0') {
      i += 2;
      continue;
    }
    if (c == '\\' && i > 0) cut = i;
    ++i;
  }
  if (cut > 0) dir[cut] = '\0';
}
