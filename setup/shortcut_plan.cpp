#include "setup/shortcut_plan.h"

#include <cstring>

#include "common/bounded_text.h"

bool IsPlainFileName(const char* title) {
  if (title[0] == '\0') return false;
  for (size_t i = 0; title[i] != '\0';) {
    unsigned char c = static_cast<unsigned char>(title[i]);
    if (IsLeadByte(c) && title[i + 1] != '\0') {
      i += 2;  // 表 and ソ end in 0x5C and are fine in a name
      continue;
    }
    if (c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
    ++i;
  }
  return true;
}

bool ComposeShortcutRequest(ShortcutRequest& request, const char* shortcutFolder,
                            const char* toolFolder, const SetupInstructions& instructions) {
  std::memset(&request, 0, sizeof request);
  request.Description = "";
  request.Arguments = "";
  request.IconIndex = 0;
  request.ShowCommand = 1;
  if (!IsPlainFileName(instructions.Title)) return false;
  if (!ComposePath(request.LinkPath, shortcutFolder, instructions.Title, ".lnk")) return false;
  if (!ComposePath(request.TargetPath, toolFolder, instructions.TargetFileName)) return false;
  if (!CopyText(request.WorkingDirectory, toolFolder)) return false;
  CopyText(request.IconPath, request.TargetPath);
  return true;
}

int PlanShortcutFolders(int (&folders)[2], const SetupChoices& choices) {
  int count = 0;
  if (choices.AddToDesktop == 1) folders[count++] = kFolderDesktop;
  if (choices.AddToStartMenu == 1) {
    folders[count++] = choices.StartMenuPlacement == 1 ? kFolderStartMenu : kFolderPrograms;
  }
  return count;
}

bool ComposeDownloadMarkPath(char (&path)[kPathSize], const char* toolFolder,
                             const char* targetFileName) {
  return ComposePath(path, toolFolder, targetFileName, ":Zone.Identifier");
}

