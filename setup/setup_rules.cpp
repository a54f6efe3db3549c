#include "setup/setup_rules.h"

#include <cstring>

#include "common/bounded_text.h"

const char kPerchClassName[] = "PerchClass";
const char kInstructionFileName[] = "Perch.inf";
const char kFirstCaption[] = "セットアップ";
const char kHeading[] = "アイコン(ショートカット)を登録します";
const char kUnreadableInstructions[] = "Perch.Inf 読み込みエラー。セットアップを中止します。";
const char kSetupCaption[] = "セットアップ";
const char kCancelCaption[] = "セットアップのキャンセル";
const char kCloseQuestion[] = "セットアップを中止しますか";
const char kCompletionMessage[] = "アイコンを登録しました。　　";

namespace {

const char kTargetSection[] = "実行ファイル名";
const char kTitleSection[] = "タイトル";
const char kUntitled[] = "無題";

}  // namespace

bool ToolFolderFromModulePath(char (&folder)[kPathSize], const char* modulePath, int length) {
  folder[0] = '\0';
  // The module-name call answers its capacity when the path did not fit.
  if (length <= 0 || length >= kModulePathCapacity) return false;
  int cut = -1;
  for (int i = 0; i < length && modulePath[i] != '\0';) {
    unsigned char c = static_cast<unsigned char>(modulePath[i]);
    if (IsLeadByte(c) && i + 1 < length && modulePath[i + 1] != '\0') {
      i += 2;  // a second byte 0x5C (表, ソ) is not a separator
      continue;
    }
    if (c == '\\') cut = i;
    ++i;
  }
  if (cut < 0) return false;
  std::memcpy(folder, modulePath, static_cast<size_t>(cut));
  folder[cut] = '\0';
  return true;
}

void FirstSectionEntry(char (&entry)[kInstructionSize], const char* area, int copied) {
  entry[0] = '\0';
  if (copied <= 0 || area == nullptr) return;
  // The reader may have cut the section anywhere, even inside a character.
  size_t n = BoundedLength(area, kInstructionMaxBytes);
  std::memcpy(entry, area, n);
  entry[n] = '\0';
  for (size_t i = 0; i < n;) {
    if (IsLeadByte(static_cast<unsigned char>(entry[i]))) {
      if (i + 1 == n) {
        entry[i] = '\0';  // the second byte was lost
        break;
      }
      i += 2;
    } else {
      ++i;
    }
  }
}

bool ComposePath(char (&path)[kPathSize], const char* folder, const char* name,
                 const char* suffix) {
  bool fits = CopyText(path, folder) && AppendText(path, "\\") && AppendText(path, name) &&
              AppendText(path, suffix);
  // A cut path would name some other file: nothing is better than that.
  if (!fits) {
    path[0] = '\0';
    return false;
  }
  return true;
}

namespace {

int ReadSection(char (&entry)[kInstructionSize], const char* section, const char* path,
                SectionReader reader, void* context) {
  char area[kSectionAreaSize + 2];
  std::memset(area, 0, sizeof area);
  int copied = reader(context, section, area, kSectionAreaSize, path);
  if (copied < 0) copied = 0;
  FirstSectionEntry(entry, area, copied);
  return copied;
}

}  // namespace

bool ReadInstructions(SetupInstructions& instructions, const char* folder, SectionReader reader,
                      void* context) {
  instructions.TargetFileName[0] = '\0';
  instructions.Title[0] = '\0';
  char path[kPathSize];
  if (!ComposePath(path, folder, kInstructionFileName)) return false;
  ReadSection(instructions.TargetFileName, kTargetSection, path, reader, context);
  if (instructions.TargetFileName[0] == '\0') return false;
  ReadSection(instructions.Title, kTitleSection, path, reader, context);
  if (instructions.Title[0] == '\0') CopyText(instructions.Title, kUntitled);
  return true;
}

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

void ComposeCaption(char (&caption)[kMessageSize], const SetupInstructions& instructions) {
  // A title keeps at most 77 bytes, so the caption always fits.
  FormatText(caption, "%s のセットアップ", instructions.Title);
}

void ComposeOsLine(char (&line)[kMessageSize], int osKind) {
  FormatText(line, "(OS : %s)", OsDisplayName(osKind));
}

void ComposeCancelMessage(char (&message)[kMessageSize], const SetupInstructions& instructions) {
  FormatText(message, "プログラムを起動するときは %s をダブルクリックして下さい。　",
             instructions.TargetFileName);
}

// ---- Controls --------------------------------------------------------------

namespace {

void PlaceSlot(SetupForm& form, int slot, int style, int x, int y, int width) {
  ControlSlot& s = form.Slots[slot];
  s.Id = 1000 + slot;
  s.ButtonStyle = style;
  s.X = x;
  s.Y = y;
  s.Width = width;
  s.Height = 24;
  s.Exists = 0;
  s.Checked = 0;
  s.Enabled = 1;
}

bool SlotUsable(const SetupForm& form, int slot) {
  return slot >= 1 && slot <= 6 && form.Slots[slot].Exists != 0;
}

// Flips a choice and the mark of its box; a missing box changes nothing.
void Toggle(SetupForm& form, int slot, int& value) {
  if (!SlotUsable(form, slot)) return;
  value = 1 - value;
  form.Slots[slot].Checked = value == 1 ? 1 : 0;
}

void SelectRadio(SetupForm& form, int first, int last, int selected) {
  if (first < 1 || last > 6 || selected < first || selected > last) return;
  for (int slot = first; slot <= last; ++slot) {
    if (form.Slots[slot].Exists) form.Slots[slot].Checked = slot == selected ? 1 : 0;
  }
}

}  // namespace

void LayoutSetupForm(SetupForm& form, int charWidth, int osKind) {
  std::memset(&form, 0, sizeof form);
  for (int n = 0; n < 2; ++n) {
    PlaceSlot(form, 1 + n, kStylePushButton, 50 + n * (12 * charWidth + 24), 192, 12 * charWidth);
  }
  for (int n = 0; n < 2; ++n) {
    PlaceSlot(form, 3 + n, kStyleCheckBox, 24, 72 + 25 * n, 30 * charWidth);
  }
  for (int n = 0; n < 2; ++n) {
    PlaceSlot(form, 5 + n, kStyleRadioButton, 40, 122 + 25 * n, 35 * charWidth);
  }
  form.Slots[3].Checked = 1;
  form.Slots[4].Checked = 1;
  form.Slots[6].Checked = 1;
  // From Vista on the Start menu has no place of its own for shortcuts.
  if (osKind >= 5) form.Slots[5].Enabled = 0;
}

const char* ControlLabel(int slot, int osKind) {
  switch (slot) {
    case 1: return "Ｏ　Ｋ";
    case 2: return "キャンセル";
    case 3: return "デスクトップに登録する";
    case 4: return "スタートメニューに登録する";
    case 5: return "スタートの中";
    case 6: return osKind >= 4 ? "スタートのすべてのプログラムの中" : "スタートのプログラムの中";
    default: return "";
  }
}

void InitialChoices(SetupChoices& choices) {
  choices.AddToDesktop = 1;
  choices.AddToStartMenu = 1;
  choices.StartMenuPlacement = 2;
}

CommandAnswer ApplySetupCommand(SetupForm& form, SetupChoices& choices, int osKind, int id) {
  switch (id) {
    case IDC_PERCH_OK:
      return kCommandRegister;
    case IDC_PERCH_CANCEL:
      return kCommandCancel;
    case IDC_PERCH_DESKTOP:
      Toggle(form, 3, choices.AddToDesktop);
      return kCommandContinue;
    case IDC_PERCH_START_MENU: {
      Toggle(form, 4, choices.AddToStartMenu);
      int enabled = choices.AddToStartMenu != 0 ? 1 : 0;
      // Once disabled for Vista and later, "in Start" never comes back.
      if (osKind <= 4) form.Slots[5].Enabled = enabled;
      form.Slots[6].Enabled = enabled;
      return kCommandContinue;
    }
    case IDC_PERCH_IN_START:
      SelectRadio(form, 5, 6, 5);
      choices.StartMenuPlacement = 1;
      return kCommandContinue;
    case IDC_PERCH_IN_PROGRAMS:
      SelectRadio(form, 5, 6, 6);
      choices.StartMenuPlacement = 2;
      return kCommandContinue;
    default:
      return kCommandContinue;
  }
}

Point CentredPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  // Integer division truncates toward zero, also for a window wider than
  // the screen.
  Point p;
  p.X = (screenWidth - windowWidth) / 2;
  p.Y = (screenHeight - windowHeight) / 2;
  return p;
}

void EtchedFrame(FrameLine (&lines)[4], int left, int top, int right, int bottom) {
  int l = left + 3, t = top + 43, r = right - 3, b = bottom - 55;
  lines[0] = {l, t, l, b, 0};
  lines[1] = {l, t, r, t, 0};
  lines[2] = {l, b - 1, r, b - 1, 1};
  lines[3] = {r - 1, t, r - 1, b, 1};
}

// ---- Registration ----------------------------------------------------------

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

int RunRegistration(const RegistrationOps& ops, const char* toolFolder,
                    const SetupInstructions& instructions, const SetupChoices& choices) {
  if (choices.AddToDesktop == 0 && choices.AddToStartMenu == 0) return 0;
  int folders[2];
  int count = PlanShortcutFolders(folders, choices);
  int saved = 0;
  for (int i = 0; i < count; ++i) {
    char folderPath[kPathSize] = "";
    FolderLookup found = ops.FindFolder(ops.Context, folders[i], folderPath);
    // Without the allocator at the desktop step the Start-menu shortcut is
    // not tried either.
    if (found == kNoAllocator && folders[i] == kFolderDesktop) break;
    if (found != kFolderFound) continue;
    ShortcutRequest request;
    if (!ComposeShortcutRequest(request, folderPath, toolFolder, instructions)) continue;
    saved += ops.WriteShortcut(ops.Context, request) == 1 ? 1 : 0;
  }
  char markPath[kPathSize];
  if (ComposeDownloadMarkPath(markPath, toolFolder, instructions.TargetFileName)) {
    ops.RemoveDownloadMark(ops.Context, markPath);
  }
  ops.ShowCompletion(ops.Context);
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
