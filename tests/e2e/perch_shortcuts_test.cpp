// Perch's OK button, for real: which link files appear in which of the
// user's folders, what they hold (read from the Shell Link bytes), and the
// completion message.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "e2e/perch_fixture.h"
#include "e2e/window_paths.h"

using namespace perch_e2e;

namespace {

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) return "";
  return path;
}

// The fields of a .lnk file that Perch sets, as the Shell Link format keeps
// them: the header, the target's path in the LinkInfo, and the strings.
struct LinkFile {
  bool Ok = false;
  unsigned Flags = 0;
  int IconIndex = -1;
  unsigned ShowCommand = 0;
  std::string Target;
  bool HasDescription = false;
  bool HasArguments = false;
  std::string WorkingDirectory;
  std::string IconLocation;
};

struct Reader {
  const std::vector<unsigned char>& Bytes;
  size_t At = 0;
  bool Ok = true;
  unsigned U16() {
    if (At + 2 > Bytes.size()) return Ok = false, 0;
    unsigned v = Bytes[At] | (Bytes[At + 1] << 8);
    At += 2;
    return v;
  }
  unsigned U32(size_t at) {
    if (at + 4 > Bytes.size()) return Ok = false, 0;
    return Bytes[at] | (Bytes[at + 1] << 8) | (Bytes[at + 2] << 16) |
           (static_cast<unsigned>(Bytes[at + 3]) << 24);
  }
  std::string CString(size_t at) {
    std::string s;
    while (at < Bytes.size() && Bytes[at] != 0) s += static_cast<char>(Bytes[at++]);
    if (at >= Bytes.size()) Ok = false;
    return s;
  }
  // A counted string of the string data, turned into Shift-JIS.
  std::string Counted(bool unicode) {
    unsigned count = U16();
    size_t size = unicode ? count * 2u : count;
    if (!Ok || At + size > Bytes.size()) return Ok = false, std::string();
    std::string out;
    if (unicode) {
      std::wstring wide;
      for (unsigned i = 0; i < count; ++i) {
        wide += static_cast<wchar_t>(Bytes[At + 2 * i] | (Bytes[At + 2 * i + 1] << 8));
      }
      char narrow[1024] = "";
      WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow,
                          sizeof narrow - 1, nullptr, nullptr);
      out = narrow;
    } else {
      out.assign(reinterpret_cast<const char*>(&Bytes[At]), size);
    }
    At += size;
    return out;
  }
};

LinkFile ReadLink(const std::string& path) {
  enum : unsigned {
    kHasIdList = 0x1,
    kHasLinkInfo = 0x2,
    kHasName = 0x4,
    kHasRelativePath = 0x8,
    kHasWorkingDir = 0x10,
    kHasArguments = 0x20,
    kHasIconLocation = 0x40,
    kIsUnicode = 0x80,
  };
  LinkFile link;
  std::vector<unsigned char> bytes;
  if (!ReadFileBytes(path, bytes)) return link;
  Reader r{bytes};
  if (bytes.size() < 0x4C || r.U32(0) != 0x4C) return link;  // the whole header first
  static const unsigned char kShellLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00,
                                                    0x00, 0x00, 0xC0, 0x00, 0x00, 0x00,
                                                    0x00, 0x00, 0x00, 0x46};
  if (memcmp(&bytes[4], kShellLinkClsid, 16) != 0) return link;
  link.Flags = r.U32(0x14);
  link.IconIndex = static_cast<int>(r.U32(0x38));
  link.ShowCommand = r.U32(0x3C);
  r.At = 0x4C;
  if (link.Flags & kHasIdList) {
    unsigned idListSize = r.U16();
    r.At += idListSize;
  }
  if (link.Flags & kHasLinkInfo) {
    size_t info = r.At;
    unsigned infoSize = r.U32(info);
    unsigned infoFlags = r.U32(info + 8);
    if (infoFlags & 1) {  // VolumeIDAndLocalBasePath
      link.Target = r.CString(info + r.U32(info + 16)) + r.CString(info + r.U32(info + 24));
    }
    r.At = info + infoSize;
  }
  bool unicode = (link.Flags & kIsUnicode) != 0;
  if (link.Flags & kHasName) link.HasDescription = !r.Counted(unicode).empty();
  if (link.Flags & kHasRelativePath) r.Counted(unicode);
  if (link.Flags & kHasWorkingDir) link.WorkingDirectory = r.Counted(unicode);
  if (link.Flags & kHasArguments) link.HasArguments = !r.Counted(unicode).empty();
  if (link.Flags & kHasIconLocation) link.IconLocation = r.Counted(unicode);
  link.Ok = r.Ok;
  return link;
}

bool SamePath(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

void ExpectLinkTo(const std::string& linkPath, const std::string& folder) {
  SCOPED_TRACE(linkPath);
  LinkFile link = ReadLink(linkPath);
  ASSERT_TRUE(link.Ok);
  std::string target = JoinPath(folder, kTargetName);
  EXPECT_TRUE(SamePath(link.Target, target)) << link.Target;
  EXPECT_TRUE(SamePath(link.WorkingDirectory, folder)) << link.WorkingDirectory;
  EXPECT_TRUE(SamePath(link.IconLocation, target)) << link.IconLocation;
  EXPECT_EQ(link.IconIndex, 0);
  EXPECT_EQ(link.ShowCommand, 1u);
  EXPECT_FALSE(link.HasDescription);
  EXPECT_FALSE(link.HasArguments);
}

// The user's three folders, with no link of this title in them before or
// after a test.
struct LinkFolders {
  std::string Title;
  std::string Desktop, StartMenu, Programs;

  explicit LinkFolders(const char* tag) {
    Title = std::string("PerchTest-") + tag + "-" + std::to_string(GetCurrentProcessId());
    Desktop = JoinPath(SpecialFolder(CSIDL_DESKTOPDIRECTORY), Title + ".lnk");
    StartMenu = JoinPath(SpecialFolder(CSIDL_STARTMENU), Title + ".lnk");
    Programs = JoinPath(SpecialFolder(CSIDL_PROGRAMS), Title + ".lnk");
    Clear();
  }
  ~LinkFolders() { Clear(); }
  void Clear() {
    for (const std::string* p : {&Desktop, &StartMenu, &Programs}) DeleteFileA(p->c_str());
  }
};

// Whether a new file can be made in `folder` now; the probe goes again. A
// probe that the folder kept (it turned unwritable between the making and
// the removing) goes first, as soon as the folder lets it.
bool CanCreateIn(const std::string& folder) {
  std::string probe = JoinPath(folder, "perch-probe-" + std::to_string(GetCurrentProcessId()));
  DeleteFileA(probe.c_str());
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileA(probe.c_str());
  return true;
}

// A folder in which no file can be made, for as long as this lives: its
// owner's write permission taken away (enough for an ordinary user) and the
// ext4 immutable mark set (root ignores permissions). Both are put back on
// every way out, and first of all when a killed run left them.
struct UnwritableFolder {
  std::string Folder, Unix;
  bool Made = false;

  explicit UnwritableFolder(const std::string& folder) : Folder(folder) {
    Unix = WineUnixPath(folder);
    if (Unix.find_first_of("'\"") != std::string::npos) Unix.clear();  // cannot be quoted
    if (Unix.empty()) return;
    if (!CanCreateIn(Folder) && !Undo()) return;
    // The shell runs the two in order; Wine reports neither end nor code.
    StartUnixProgram("/bin/sh -c \"/bin/chmod u-w '" + Unix + "' && /usr/bin/chattr +i '" +
                     Unix + "/.' 2>/dev/null\"");
    Made = WaitUntil([&] { return !CanCreateIn(Folder); }, kEventWait);
  }
  ~UnwritableFolder() {
    if (Unix.empty()) return;
    EXPECT_TRUE(Undo()) << Folder << " is still unwritable";
  }
  bool Undo() {
    StartUnixProgram("/bin/sh -c \"/usr/bin/chattr -i '" + Unix +
                     "/.' 2>/dev/null; /bin/chmod u+w '" + Unix + "'\"");
    return WaitUntil([&] { return CanCreateIn(Folder); }, kEventWait);
  }
};

void ExpectCompletion(PerchRun& p) {
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
  EXPECT_EQ(box.Caption, "セットアップ");
  EXPECT_EQ(box.Text, "アイコンを登録しました。　　");
  AnswerMessageBox(box, IDOK);
  ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
}

TEST(PerchShortcuts, BothBoxesWriteTheDesktopAndProgramsLinks) {
  LinkFolders folders("both");
  ASSERT_FALSE(SpecialFolder(CSIDL_DESKTOPDIRECTORY).empty());
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-both", folders.Title.c_str()));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  p.Press(1001);
  ASSERT_NO_FATAL_FAILURE(ExpectCompletion(p));
  ASSERT_TRUE(FileExists(folders.Desktop));
  ASSERT_TRUE(FileExists(folders.Programs));
  EXPECT_FALSE(FileExists(folders.StartMenu));
  ExpectLinkTo(folders.Desktop, p.Folder);
  ExpectLinkTo(folders.Programs, p.Folder);
  // The target itself is untouched.
  EXPECT_TRUE(FileExists(JoinPath(p.Folder, kTargetName)));
}

TEST(PerchShortcuts, StartMenuAloneWithPlacementOneWritesOneLinkInStart) {
  VersionScope version("winxp");  // "in Start" is offered up to Windows XP
  LinkFolders folders("start");
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-start", folders.Title.c_str()));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  p.Click(1003);
  p.Click(1005);
  ASSERT_EQ(p.Checked(1003), BST_UNCHECKED);
  ASSERT_EQ(p.Checked(1005), BST_CHECKED);
  p.Press(1001);
  ASSERT_NO_FATAL_FAILURE(ExpectCompletion(p));
  EXPECT_TRUE(FileExists(folders.StartMenu));
  EXPECT_FALSE(FileExists(folders.Programs));
  EXPECT_FALSE(FileExists(folders.Desktop));
  ExpectLinkTo(folders.StartMenu, p.Folder);
}

TEST(PerchShortcuts, NeitherBoxEndsWithoutMessageOrFile) {
  LinkFolders folders("none");
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-none", folders.Title.c_str()));
  FolderSnapshot before;
  before.Take(p.Folder);
  ASSERT_FALSE(before.Listing.empty());
  ASSERT_FALSE(before.Target.empty());
  ASSERT_NO_FATAL_FAILURE(p.Start());
  p.Click(1003);
  p.Click(1004);
  ASSERT_EQ(p.Checked(1003), BST_UNCHECKED);
  ASSERT_EQ(p.Checked(1004), BST_UNCHECKED);
  p.Press(1001);
  DWORD pid = p.Run.Process.dwProcessId;
  // The process ends on its own, with no message box on the way.
  bool boxSeen = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        HWND box = FindTopWindow(pid, "#32770");
        if (box != nullptr && IsWindowVisible(box)) boxSeen = true;
        return WaitForSingleObject(p.Run.Process.hProcess, 0) == WAIT_OBJECT_0;
      },
      kWait));
  EXPECT_FALSE(boxSeen);
  ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
  EXPECT_FALSE(FileExists(folders.Desktop));
  EXPECT_FALSE(FileExists(folders.StartMenu));
  EXPECT_FALSE(FileExists(folders.Programs));
  // Nothing written, renamed or deleted beside the target, and the target
  // itself the same bytes with the same times.
  before.ExpectUnchanged();
}

TEST(PerchShortcuts, CancelAndConfirmedCloseWriteNothing) {
  LinkFolders folders("quit");
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancel" : "close");
    PerchRun p;
    ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-quit", folders.Title.c_str()));
    FolderSnapshot before;
    before.Take(p.Folder);
    ASSERT_FALSE(before.Target.empty());
    ASSERT_NO_FATAL_FAILURE(p.Start());
    if (cancel) {
      p.Press(1002);
    } else {
      PostMessageA(p.Main, WM_CLOSE, 0, 0);
    }
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
    AnswerMessageBox(box, cancel ? IDOK : IDYES);
    ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
    EXPECT_FALSE(FileExists(folders.Desktop));
    EXPECT_FALSE(FileExists(folders.Programs));
    EXPECT_FALSE(FileExists(folders.StartMenu));
    before.ExpectUnchanged();
  }
}

TEST(PerchShortcuts, AnUntitledTargetIsRegisteredAsMuDai) {
  std::string desktop = JoinPath(SpecialFolder(CSIDL_DESKTOPDIRECTORY), "無題.lnk");
  std::string programs = JoinPath(SpecialFolder(CSIDL_PROGRAMS), "無題.lnk");
  DeleteFileA(desktop.c_str());
  DeleteFileA(programs.c_str());
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-mudai", nullptr));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  p.Press(1001);
  ASSERT_NO_FATAL_FAILURE(ExpectCompletion(p));
  EXPECT_TRUE(FileExists(desktop));
  EXPECT_TRUE(FileExists(programs));
  ExpectLinkTo(desktop, p.Folder);
  DeleteFileA(desktop.c_str());
  DeleteFileA(programs.c_str());
}

// A link that cannot be saved (the desktop folder refuses new files) is named
// in a warning instead of the completion; the Start-menu link is still made.
TEST(PerchShortcuts, ALinkNotSavedIsWarnedOfAndTheOtherIsStillWritten) {
  LinkFolders folders("rodesk");
  std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  ASSERT_FALSE(desktop.empty());
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-rodesk", folders.Title.c_str()));
  UnwritableFolder locked(desktop);
  ASSERT_TRUE(locked.Made) << desktop << " (" << locked.Unix << ") stayed writable";
  ASSERT_NO_FATAL_FAILURE(p.Start());
  p.Press(1001);
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
  EXPECT_EQ(box.Caption, "セットアップ");
  EXPECT_EQ(box.Text, "スタートメニューには登録しましたが、デスクトップには登録できませんでした。　");
  EXPECT_EQ(GetWindow(box.Window, GW_OWNER), p.Main);
  AnswerMessageBox(box, IDOK);
  ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
  EXPECT_FALSE(FileExists(folders.Desktop));
  ASSERT_TRUE(FileExists(folders.Programs));
  ExpectLinkTo(folders.Programs, p.Folder);
}

}  // namespace
