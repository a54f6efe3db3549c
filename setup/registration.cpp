#include "setup/registration.h"

#include "setup/setup_form.h"

namespace {

const char kDesktopNotWritten[] = "デスクトップのショートカットを作成できませんでした。";
const char kStartMenuNotWritten[] = "スタートメニューのショートカットを作成できませんでした。";
const char kNoneWritten[] = "デスクトップとスタートメニューのショートカットを作成できませんでした。";

int ShortcutOfFolder(int folderId) {
  return folderId == kFolderDesktop ? kDesktopShortcut : kStartMenuShortcut;
}

}  // namespace

RegistrationNotice NoticeFor(int unwritten) {
  switch (unwritten & (kDesktopShortcut | kStartMenuShortcut)) {
    case kDesktopShortcut: return {kNoticeNotWritten, kDesktopNotWritten};
    case kStartMenuShortcut: return {kNoticeNotWritten, kStartMenuNotWritten};
    case kDesktopShortcut | kStartMenuShortcut: return {kNoticeNotWritten, kNoneWritten};
    default: return {kNoticeCompleted, kCompletionMessage};
  }
}

int RunRegistration(const RegistrationOps& ops, const char* toolFolder,
                    const SetupInstructions& instructions, const SetupChoices& choices) {
  if (choices.AddToDesktop == 0 && choices.AddToStartMenu == 0) return 0;
  int folders[2];
  int count = PlanShortcutFolders(folders, choices);
  int saved = 0;
  int unwritten = 0;  // every shortcut asked for until it is saved
  for (int i = 0; i < count; ++i) unwritten |= ShortcutOfFolder(folders[i]);
  for (int i = 0; i < count; ++i) {
    char folderPath[kPathSize] = "";
    FolderLookup found = ops.FindFolder(ops.Context, folders[i], folderPath);
    // Without the allocator at the desktop step the Start-menu shortcut is
    // not tried either.
    if (found == kNoAllocator && folders[i] == kFolderDesktop) break;
    if (found != kFolderFound) continue;
    ShortcutRequest request;
    if (!ComposeShortcutRequest(request, folderPath, toolFolder, instructions)) continue;
    if (ops.WriteShortcut(ops.Context, request) == 1) {
      saved += 1;
      unwritten &= ~ShortcutOfFolder(folders[i]);
    }
  }
  char markPath[kPathSize];
  if (ComposeDownloadMarkPath(markPath, toolFolder, instructions.TargetFileName)) {
    ops.RemoveDownloadMark(ops.Context, markPath);
  }
  ops.ShowNotice(ops.Context, NoticeFor(unwritten));
  return saved;
}

int RunLinkWriter(const LinkWriterOps& ops, const ShortcutRequest& request) {
  void* c = ops.Context;
  int result = 0;
  ops.Initialise(c);
  if (ops.CreateLink(c)) {
    if (ops.QueryPersistFile(c)) {
      bool fieldsSet = ops.SetPath(c, request.TargetPath) &&
                       ops.SetDescription(c, request.Description) &&
                       ops.SetArguments(c, request.Arguments) &&
                       ops.SetWorkingDirectory(c, request.WorkingDirectory) &&
                       ops.SetIconLocation(c, request.IconPath, request.IconIndex) &&
                       ops.SetShowCmd(c, request.ShowCommand);
      // A path that cannot be converted is not saved under some other name.
      if (fieldsSet && ops.ConvertLinkPath(c, request.LinkPath) && ops.Save(c)) result = 1;
      ops.ReleasePersistFile(c);
    }
    ops.ReleaseLink(c);
  }
  ops.Uninitialise(c);
  return result;
}
