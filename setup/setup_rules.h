// Perch's rules: the instruction file's entries, the class of the running
// Windows, the layout and marks of the six controls, and which shortcuts are
// written where. Pure: no <windows.h>; Perch has one thread, which calls all.
#pragma once

enum {
  kPathSize = 260,          // every composed path: at most 259 bytes and a NUL
  kInstructionSize = 80,    // TargetFileName and Title
  kSectionAreaSize = 79,    // one section read: its entries, each NUL-closed, and a final NUL
  kInstructionMaxBytes = 77,
  kModulePathCapacity = 259,
  kMessageSize = 256,
};

// Perch's command ids are 1000 + the control's slot.
enum {
  kSlotCount = 7,  // slot 0 is never used
  IDC_PERCH_OK = 1001,
  IDC_PERCH_CANCEL = 1002,
  IDC_PERCH_DESKTOP = 1003,
  IDC_PERCH_START_MENU = 1004,
  IDC_PERCH_IN_START = 1005,
  IDC_PERCH_IN_PROGRAMS = 1006,
};

// Button styles of the controls; the same values as BS_PUSHBUTTON,
// BS_CHECKBOX and BS_RADIOBUTTON (the non-automatic kinds: Perch sets the
// marks itself).
enum { kStylePushButton = 0, kStyleCheckBox = 2, kStyleRadioButton = 4 };

// Special folders that receive shortcuts (CSIDL_DESKTOP, CSIDL_PROGRAMS,
// CSIDL_STARTMENU).
enum { kFolderDesktop = 0, kFolderPrograms = 2, kFolderStartMenu = 11 };

struct SetupInstructions {
  char TargetFileName[kInstructionSize];
  char Title[kInstructionSize];
};

struct SetupChoices {
  int AddToDesktop;        // 0 or 1
  int AddToStartMenu;      // 0 or 1
  int StartMenuPlacement;  // 1 directly in the Start menu, 2 in its Programs folder
};

// ---- The instruction file -------------------------------------------------

// Reads one section of an INI-format file into `area` the way the profile
// reader does: entries each closed by a NUL, a final NUL; answers the number
// of characters copied, 0 when there is nothing.
typedef int (*SectionReader)(void* context, const char* section, char* area, int capacity,
                             const char* path);

// The folder of Perch's own executable, without its last backslash. The
// path is what the module-name call gave (`length` bytes); false when that
// call failed or cut the path, leaving `folder` empty.
bool ToolFolderFromModulePath(char (&folder)[kPathSize], const char* modulePath, int length);

// The first entry of a section area as the reader filled it, whole (a
// "name=value" line comes through as it stands), at most 77 bytes and never
// ending in half a double-byte character. Empty when `copied` is 0.
void FirstSectionEntry(char (&entry)[kInstructionSize], const char* area, int copied);

// Reads "実行ファイル名" and "タイトル" from `folder`\Perch.inf. Answers false
// (the instruction file is unreadable) when the executable-name section gives
// no entry or the file's path would not fit in 259 bytes. A missing or empty
// title becomes "無題".
bool ReadInstructions(SetupInstructions& instructions, const char* folder, SectionReader reader,
                      void* context);

// folder + a backslash + name (+ suffix), or false, leaving `path` empty,
// when it would not fit in 259 bytes.
bool ComposePath(char (&path)[kPathSize], const char* folder, const char* name,
                 const char* suffix = "");

// ---- The running Windows ---------------------------------------------------

// 0 unknown (platform 0), 1 Windows 95 to Me, 2 NT, 3 2000, 4 XP, 5 Vista,
// 6 7, 7 anything newer or else.
int ClassifyOs(unsigned long platformId, unsigned long major, unsigned long minor);
// The name shown in the OS line; empty outside 1 to 6.
const char* OsDisplayName(int osKind);
// Whether the OS line is painted at all.
inline bool ShowsOsLine(int osKind) { return osKind < 7; }

// ---- The window's texts and geometry ---------------------------------------

void ComposeCaption(char (&caption)[kMessageSize], const SetupInstructions& instructions);
void ComposeOsLine(char (&line)[kMessageSize], int osKind);
void ComposeCancelMessage(char (&message)[kMessageSize], const SetupInstructions& instructions);

extern const char kPerchClassName[];
extern const char kInstructionFileName[];
extern const char kFirstCaption[];
extern const char kHeading[];
extern const char kUnreadableInstructions[];
extern const char kSetupCaption[];
extern const char kCancelCaption[];
extern const char kCloseQuestion[];
extern const char kCompletionMessage[];

struct ControlSlot {
  int Id;
  int ButtonStyle;
  int X, Y, Width, Height;
  int Exists;   // the control window was made
  int Checked;  // its mark
  int Enabled;
};

// The six controls in slots 1 to 6; slot 0 is never used.
struct SetupForm {
  ControlSlot Slots[kSlotCount];
};

// Positions by the three layout rules for the font's average character
// width, ids, styles and the marks and enabling the window starts with.
// No control exists yet.
void LayoutSetupForm(SetupForm& form, int charWidth, int osKind);
// The label of the control in `slot` (1 to 6); the second radio button
// speaks of "All Programs" from Windows XP on.
const char* ControlLabel(int slot, int osKind);

// The choices the window starts with: both boxes ticked, Programs folder.
void InitialChoices(SetupChoices& choices);

enum CommandAnswer { kCommandContinue, kCommandRegister, kCommandCancel };

// What a command does to the choices, the marks and the enabling. The
// notification code is not looked at, so only the id is passed.
CommandAnswer ApplySetupCommand(SetupForm& form, SetupChoices& choices, int osKind, int id);

// The window's top-left corner that centres it on the screen.
struct Point {
  int X, Y;
};
Point CentredPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// The etched frame inside a client rectangle: two grey lines (left, top),
// then two white ones (bottom, right), each from its first point up to but
// not including its second.
struct FrameLine {
  int FromX, FromY, ToX, ToY;
  int White;
};
void EtchedFrame(FrameLine (&lines)[4], int left, int top, int right, int bottom);

// ---- Registration ----------------------------------------------------------

// One shortcut as the shell link object receives it.
struct ShortcutRequest {
  char LinkPath[kPathSize];
  char TargetPath[kPathSize];
  const char* Description;  // Perch's shortcuts carry none
  const char* Arguments;
  char WorkingDirectory[kPathSize];
  char IconPath[kPathSize];
  int IconIndex;
  int ShowCommand;
};

// Whether a title can name a file of its own in the shortcut folder. A title
// with a path separator, a drive or stream colon, a wildcard or a control
// character would write somewhere else or nowhere, so no link is made.
bool IsPlainFileName(const char* title);

// The request for a shortcut in `shortcutFolder`; false when a path would
// not fit in 259 bytes or the title cannot name a file there.
bool ComposeShortcutRequest(ShortcutRequest& request, const char* shortcutFolder,
                            const char* toolFolder, const SetupInstructions& instructions);

// The folders that receive shortcuts, desktop first; answers how many.
int PlanShortcutFolders(int (&folders)[2], const SetupChoices& choices);

// The target's download-mark stream; false when it would not fit.
bool ComposeDownloadMarkPath(char (&path)[kPathSize], const char* toolFolder,
                             const char* targetFileName);

// The platform side of one registration.
enum FolderLookup { kFolderFound, kFolderMissing, kNoAllocator };
struct RegistrationOps {
  void* Context;
  // The folder's path, with the shell allocator obtained and released inside.
  FolderLookup (*FindFolder)(void* context, int folderId, char (&path)[kPathSize]);
  int (*WriteShortcut)(void* context, const ShortcutRequest& request);
  int (*RemoveDownloadMark)(void* context, const char* markPath);
  void (*ShowCompletion)(void* context);
};

// Makes the chosen shortcuts (the desktop one first), removes the target's
// download mark and shows the completion message; with neither box ticked
// does nothing at all. Answers how many link files were saved.
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
