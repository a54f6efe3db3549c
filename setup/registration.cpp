#include "setup/registration.h"

#include "setup/setup_form.h"

namespace {

// Perch's words, ending in a full-width blank like its other boxes.
const char kDesktopNotWritten[] = "デスクトップにアイコンを登録できませんでした。　";
const char kStartMenuNotWritten[] = "スタートメニューにアイコンを登録できませんでした。　";
const char kNoneWritten[] = "デスクトップとスタートメニューにアイコンを登録できませんでした。　";
const char kOnlyStartMenuWritten[] =
    "スタートメニューには登録しましたが、デスクトップには登録できませんでした。　";
const char kOnlyDesktopWritten[] =
    "デスクトップには登録しましたが、スタートメニューには登録できませんでした。　";

int ShortcutOfFolder(int folderId) {
  return folderId == kFolderDesktop ? kDesktopShortcut : kStartMenuShortcut;
}

}  // namespace

RegistrationNotice NoticeFor(int asked, int unwritten) {
  const int both = kDesktopShortcut | kStartMenuShortcut;
  unwritten &= asked & both;
  if (unwritten == 0) return {kNoticeCompleted, kCompletionMessage};
  if (unwritten == both) return {kNoticeNotWritten, kNoneWritten};
  // Of two asked for, one was written: the warning says which.
  if ((asked & both) == both) {
    return {kNoticeNotWritten,
            unwritten == kDesktopShortcut ? kOnlyStartMenuWritten : kOnlyDesktopWritten};
  }
  return {kNoticeNotWritten, unwritten == kDesktopShortcut ? kDesktopNotWritten : kStartMenuNotWritten};
}

int RunRegistration(const RegistrationOps& ops, const char* toolFolder,
                    const SetupInstructions& instructions, const SetupChoices& choices) {
  if (choices.AddToDesktop == 0 && choices.AddToStartMenu == 0) return 0;
  int folders[2];
  int count = PlanShortcutFolders(folders, choices);
  int saved = 0;
  int asked = 0;
  for (int i = 0; i < count; ++i) asked |= ShortcutOfFolder(folders[i]);
  int unwritten = asked;  // every shortcut asked for until it is saved
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
  ops.ShowNotice(ops.Context, NoticeFor(asked, unwritten));
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
