#include "setup/instructions.h"

#include <cstring>

#include "common/bounded_text.h"

const char kInstructionFileName[] = "Perch.inf";

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

// Whether a target name names a file in Perch's own folder: no folder
// separator, no drive or stream colon, and not "." or ".." (nor any name of
// dots and blanks alone, which the file system trims down to one of those).
// A lead byte takes its second byte with it: 表 and ソ end in 0x5C.
bool NamesFileInFolder(const char* name) {
  bool onlyDotsAndBlanks = true;
  for (size_t i = 0; name[i] != '\0';) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && name[i + 1] != '\0') {
      onlyDotsAndBlanks = false;
      i += 2;
      continue;
    }
    if (c == '\\' || c == '/' || c == ':') return false;
    if (c != '.' && c != ' ') onlyDotsAndBlanks = false;
    ++i;
  }
  return !onlyDotsAndBlanks;
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
  // Shortcuts point at the target and its download mark is removed: a name
  // that leads out of the folder would do both to some other file.
  if (!NamesFileInFolder(instructions.TargetFileName)) {
    instructions.TargetFileName[0] = '\0';
    return false;
  }
  ReadSection(instructions.Title, kTitleSection, path, reader, context);
  if (instructions.Title[0] == '\0') CopyText(instructions.Title, kUntitled);
  return true;
}
