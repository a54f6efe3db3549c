// The registration's steps in order, and the calls that write one link
// file; the platform's side comes in through function tables. Pure: no
// <windows.h>.
#pragma once

#include "setup/instructions.h"
#include "setup/shortcut_plan.h"

// The shortcuts of one registration, as bits of a set.
enum { kDesktopShortcut = 1, kStartMenuShortcut = 2 };

// The message that ends a registration: the completion when every shortcut
// asked for was written, else a warning that names those that were not (and,
// of two asked for, the one that was).
enum NoticeKind { kNoticeCompleted, kNoticeNotWritten };
struct RegistrationNotice {
  NoticeKind Kind;
  const char* Text;
};
// The notice for the set of shortcuts asked for and the set of those not
// written.
RegistrationNotice NoticeFor(int asked, int unwritten);

// The platform side of one registration.
enum FolderLookup { kFolderFound, kFolderMissing, kNoAllocator };
struct RegistrationOps {
  void* Context;
  // The folder's path, with the shell allocator obtained and released inside.
  FolderLookup (*FindFolder)(void* context, int folderId, char (&path)[kPathSize]);
  int (*WriteShortcut)(void* context, const ShortcutRequest& request);
  int (*RemoveDownloadMark)(void* context, const char* markPath);
  void (*ShowNotice)(void* context, const RegistrationNotice& notice);
};

// Makes the chosen shortcuts (the desktop one first), removes the target's
// download mark and shows the notice of what was written; with neither box
// ticked does nothing at all. Answers how many link files were saved.
int RunRegistration(const RegistrationOps& ops, const char* toolFolder,
                    const SetupInstructions& instructions, const SetupChoices& choices);

// The calls that write one link file through the shell link object.
struct LinkWriterOps {
  void* Context;
  void (*Initialise)(void* context);
  int (*CreateLink)(void* context);
  int (*QueryPersistFile)(void* context);
  int (*SetPath)(void* context, const char* path);
  int (*SetDescription)(void* context, const char* text);
  int (*SetArguments)(void* context, const char* text);
  int (*SetWorkingDirectory)(void* context, const char* path);
  int (*SetIconLocation)(void* context, const char* path, int index);
  int (*SetShowCmd)(void* context, int show);
  int (*ConvertLinkPath)(void* context, const char* path);
  int (*Save)(void* context);
  void (*ReleasePersistFile)(void* context);
  void (*ReleaseLink)(void* context);
  void (*Uninitialise)(void* context);
};

// 1 when the link file was saved. Every interface obtained is released on
// every path, and each file has its own COM initialisation.
int RunLinkWriter(const LinkWriterOps& ops, const ShortcutRequest& request);
