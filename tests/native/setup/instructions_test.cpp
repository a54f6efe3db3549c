#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "setup/instructions.h"

namespace {

// A stand-in for the profile reader: sections of one file, filled the way
// the platform fills the area, cut with two NULs at the end when they do not
// fit.
struct FakeProfile {
  std::string ExpectedPath;
  std::map<std::string, std::vector<std::string>> Sections;
  std::vector<std::string> SectionsAsked;
  std::vector<int> Capacities;
  std::vector<std::string> PathsAsked;
};

int FakeReader(void* context, const char* section, char* area, int capacity, const char* path) {
  FakeProfile& profile = *static_cast<FakeProfile*>(context);
  profile.SectionsAsked.push_back(section);
  profile.Capacities.push_back(capacity);
  profile.PathsAsked.push_back(path);
  std::memset(area, 0x7F, static_cast<size_t>(capacity));  // no NUL unless written
  auto found = profile.Sections.find(section);
  if (path != profile.ExpectedPath || found == profile.Sections.end() || found->second.empty()) {
    area[0] = '\0';
    area[1] = '\0';
    return 0;
  }
  std::string all;
  for (const std::string& entry : found->second) {
    all += entry;
    all += '\0';
  }
  if (static_cast<int>(all.size()) + 1 > capacity) {
    // Cut byte by byte, even inside a double-byte character.
    std::memcpy(area, all.data(), static_cast<size_t>(capacity - 2));
    area[capacity - 2] = '\0';
    area[capacity - 1] = '\0';
    return capacity - 2;
  }
  std::memcpy(area, all.data(), all.size());
  area[all.size()] = '\0';
  return static_cast<int>(all.size());
}

const char kFolder[] = "C:\\Photos\\Tessel";
const char kTargetSection[] = "実行ファイル名";
const char kTitleSection[] = "タイトル";

struct EntryCase {
  const char* Name;
  std::vector<std::string> TargetEntries;
  std::vector<std::string> TitleEntries;  // empty: no such section
  bool Readable;
  std::string Target;
  std::string Title;
};

TEST(Instructions, FirstEntriesAreTakenWholeAndCut) {
  std::string long100(100, 'x');
  std::string kana40;
  for (int i = 0; i < 40; ++i) kana40 += "あ";  // 80 bytes: the cut falls inside one
  std::string ascii77(77, 'y');
  const EntryCase cases[] = {
      {"bare lines", {"Tessel.exe"}, {"Tessel"}, true, "Tessel.exe", "Tessel"},
      {"name=value comes whole", {"exe=Tessel.exe"}, {"title=写真"}, true, "exe=Tessel.exe",
       "title=写真"},
      {"later entries are ignored", {"first.exe", "second.exe"}, {"One", "Two"}, true, "first.exe",
       "One"},
      {"missing title is untitled", {"Tessel.exe"}, {}, true, "Tessel.exe", "無題"},
      {"long value keeps 77 bytes", {long100}, {long100}, true, long100.substr(0, 77),
       long100.substr(0, 77)},
      {"exactly 77 bytes arrive whole", {ascii77}, {ascii77}, true, ascii77, ascii77},
      {"no half character at the cut", {"a.exe"}, {kana40}, true, "a.exe", kana40.substr(0, 76)},
      {"no executable section", {}, {"Tessel"}, false, "", ""},
      {"Shift-JIS with 0x5C second bytes", {"表ソ.exe"}, {"表示ソフト"}, true, "表ソ.exe",
       "表示ソフト"},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.Name);
    FakeProfile profile;
    profile.ExpectedPath = std::string(kFolder) + "\\Perch.inf";
    if (!c.TargetEntries.empty()) profile.Sections[kTargetSection] = c.TargetEntries;
    if (!c.TitleEntries.empty()) profile.Sections[kTitleSection] = c.TitleEntries;
    SetupInstructions instructions;
    std::memset(&instructions, 'z', sizeof instructions);
    bool readable = ReadInstructions(instructions, kFolder, FakeReader, &profile);
    EXPECT_EQ(readable, c.Readable);
    if (!readable) continue;
    EXPECT_EQ(std::string(instructions.TargetFileName), c.Target);
    EXPECT_EQ(std::string(instructions.Title), c.Title);
    ASSERT_EQ(profile.SectionsAsked.size(), 2u);
    EXPECT_EQ(profile.SectionsAsked[0], kTargetSection);
    EXPECT_EQ(profile.SectionsAsked[1], kTitleSection);
    EXPECT_EQ(profile.Capacities[0], 79);
    EXPECT_EQ(profile.Capacities[1], 79);
  }
}

TEST(Instructions, TargetNamesThatLeaveTheFolderAreUnreadable) {
  const std::pair<const char*, bool> cases[] = {
      {"..\\..\\Downloads\\x.exe", false}, {"sub\\x.exe", false}, {"../x.exe", false},
      {"C:\\x.exe", false},  {"x.exe:stream", false}, {"..", false}, {".", false},
      {". .", false},          {"表\\x.exe", false},   {"a..b.exe", true},
      {"表ソ.exe", true},  // second bytes 0x5C are no separators
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    FakeProfile profile;
    profile.ExpectedPath = std::string(kFolder) + "\\Perch.inf";
    profile.Sections[kTargetSection] = {c.first};
    SetupInstructions instructions;
    EXPECT_EQ(ReadInstructions(instructions, kFolder, FakeReader, &profile), c.second);
    EXPECT_EQ(std::string(instructions.TargetFileName), c.second ? c.first : "");
  }
}

TEST(Instructions, AnUnreadableFileIsNotReadForTheTitle) {
  FakeProfile profile;
  profile.ExpectedPath = "elsewhere";
  profile.Sections[kTitleSection] = {"Tessel"};
  SetupInstructions instructions;
  EXPECT_FALSE(ReadInstructions(instructions, kFolder, FakeReader, &profile));
  EXPECT_EQ(profile.SectionsAsked.size(), 1u);
  EXPECT_STREQ(instructions.TargetFileName, "");
}

TEST(Instructions, AFolderTooLongForTheFilesPathIsUnreadable) {
  // 249 bytes + "\Perch.inf" (10) = 259 still fits; one more does not.
  std::string fits(249, 'd');
  std::string tooLong(250, 'd');
  FakeProfile profile;
  profile.Sections[kTargetSection] = {"Tessel.exe"};
  profile.ExpectedPath = fits + "\\Perch.inf";
  SetupInstructions instructions;
  EXPECT_TRUE(ReadInstructions(instructions, fits.c_str(), FakeReader, &profile));
  profile.SectionsAsked.clear();
  profile.ExpectedPath = tooLong + "\\Perch.inf";
  EXPECT_FALSE(ReadInstructions(instructions, tooLong.c_str(), FakeReader, &profile));
  EXPECT_TRUE(profile.SectionsAsked.empty());
}

TEST(Instructions, FirstEntryOfAnAreaWithoutAnyNul) {
  char area[79];
  std::memset(area, 'q', sizeof area);
  char entry[80];
  FirstSectionEntry(entry, area, 79);
  EXPECT_EQ(std::string(entry), std::string(77, 'q'));
  FirstSectionEntry(entry, area, 0);
  EXPECT_STREQ(entry, "");
}

struct FolderCase {
  const char* Path;
  bool Ok;
  const char* Folder;
};

TEST(ToolFolder, CutAtTheLastBackslashStepsOverDoubleByteCharacters) {
  const FolderCase cases[] = {
      {"C:\\Apps\\Tessel\\Perch.exe", true, "C:\\Apps\\Tessel"},
      {"C:\\Perch.exe", true, "C:"},
      {"C:\\写真\\表\\Perch.exe", true, "C:\\写真\\表"},
      {"C:\\Apps\\ソ", true, "C:\\Apps"},        // ソ ends in 0x5C: not a separator
      {"C:\\Apps\\表示.exe", true, "C:\\Apps"},
      {"Perch.exe", false, ""},
      {"表", false, ""},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.Path);
    char folder[kPathSize];
    bool ok = ToolFolderFromModulePath(folder, c.Path, static_cast<int>(std::strlen(c.Path)));
    EXPECT_EQ(ok, c.Ok);
    EXPECT_STREQ(folder, c.Folder);
  }
}

TEST(ToolFolder, AFailedOrCutModuleNameGivesNoFolder) {
  std::string full = "C:\\" + std::string(245, 'p') + "\\Perch.exe";  // 258 bytes
  ASSERT_EQ(full.size(), 258u);
  char folder[kPathSize];
  EXPECT_TRUE(ToolFolderFromModulePath(folder, full.c_str(), 258));
  EXPECT_EQ(std::string(folder), full.substr(0, 248));
  std::string cut = full + "x";
  EXPECT_FALSE(ToolFolderFromModulePath(folder, cut.c_str(), 259));
  EXPECT_STREQ(folder, "");
  EXPECT_FALSE(ToolFolderFromModulePath(folder, "", 0));
}

TEST(ComposedPaths, ExactlyTwoHundredFiftyNineBytesFitAndOneMoreDoesNot) {
  char path[kPathSize];
  std::string folder(250, 'f');
  EXPECT_TRUE(ComposePath(path, folder.c_str(), "12345678"));  // 250 + 1 + 8
  EXPECT_EQ(std::strlen(path), 259u);
  EXPECT_FALSE(ComposePath(path, folder.c_str(), "123456789"));
  EXPECT_STREQ(path, "");
  EXPECT_TRUE(ComposePath(path, "C:\\a", "b", ".lnk"));
  EXPECT_STREQ(path, "C:\\a\\b.lnk");
}

}  // namespace
