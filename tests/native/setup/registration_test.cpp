#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "setup/registration.h"

namespace {

// Records what the registration asks of the platform, in order.
struct FakePlatform {
  std::map<int, std::string> Folders;        // special folder id -> its path
  std::map<int, FolderLookup> Failures;      // ids whose lookup fails this way
  std::vector<std::string> Calls;
  std::vector<ShortcutRequest> Written;
  std::vector<std::string> MarksRemoved;
  std::vector<std::string> Unsaved;          // link paths whose save fails
  std::vector<std::string> Notices;          // the closing messages' texts
};

FakePlatform& Fake(void* context) { return *static_cast<FakePlatform*>(context); }

FolderLookup FakeFindFolder(void* context, int folderId, char (&path)[kPathSize]) {
  FakePlatform& p = Fake(context);
  p.Calls.push_back("find " + std::to_string(folderId));
  auto failure = p.Failures.find(folderId);
  if (failure != p.Failures.end()) return failure->second;
  std::strcpy(path, p.Folders.at(folderId).c_str());
  return kFolderFound;
}

int FakeWrite(void* context, const ShortcutRequest& request) {
  FakePlatform& p = Fake(context);
  p.Calls.push_back(std::string("write ") + request.LinkPath);
  for (const std::string& unsaved : p.Unsaved) {
    if (unsaved == request.LinkPath) return 0;
  }
  p.Written.push_back(request);
  return 1;
}

int FakeRemoveMark(void* context, const char* markPath) {
  Fake(context).Calls.push_back("mark");
  Fake(context).MarksRemoved.push_back(markPath);
  return 1;
}

void FakeNotice(void* context, const RegistrationNotice& notice) {
  Fake(context).Calls.push_back(notice.Kind == kNoticeCompleted ? "done" : "warning");
  Fake(context).Notices.push_back(notice.Text);
}

const char kCompleted[] = "アイコンを登録しました。　　";
const char kDesktopNotMade[] = "デスクトップにアイコンを登録できませんでした。　";
const char kStartMenuNotMade[] = "スタートメニューにアイコンを登録できませんでした。　";
const char kNeitherMade[] = "デスクトップとスタートメニューにアイコンを登録できませんでした。　";
const char kOnlyStartMenuMade[] = "スタートメニューには登録しましたが、デスクトップには登録できませんでした。　";
const char kOnlyDesktopMade[] = "デスクトップには登録しましたが、スタートメニューには登録できませんでした。　";
using Texts = std::vector<std::string>;

const char kTool[] = "C:\\Tools\\Tessel";

FakePlatform MakePlatform() {
  FakePlatform p;
  p.Folders[kFolderDesktop] = "C:\\users\\me\\Desktop";
  p.Folders[kFolderStartMenu] = "C:\\users\\me\\Start Menu";
  p.Folders[kFolderPrograms] = "C:\\users\\me\\Start Menu\\Programs";
  return p;
}

SetupInstructions MakeInstructions(const char* title = "Tessel") {
  SetupInstructions instructions;
  std::strcpy(instructions.TargetFileName, "Tessel.exe");
  std::strcpy(instructions.Title, title);
  return instructions;
}

int Register(FakePlatform& platform, const SetupChoices& choices,
             const SetupInstructions& instructions, const char* tool = kTool) {
  RegistrationOps ops = {&platform, FakeFindFolder, FakeWrite, FakeRemoveMark, FakeNotice};
  return RunRegistration(ops, tool, instructions, choices);
}

struct PlanCase {
  SetupChoices Choices;
  std::vector<std::string> Calls;
};

TEST(Registration, EachChoiceWritesItsShortcutsDesktopFirst) {
  const std::string desktop = "write C:\\users\\me\\Desktop\\Tessel.lnk";
  const std::string start = "write C:\\users\\me\\Start Menu\\Tessel.lnk";
  const std::string programs = "write C:\\users\\me\\Start Menu\\Programs\\Tessel.lnk";
  const PlanCase cases[] = {
      {{1, 1, 2}, {"find 0", desktop, "find 2", programs, "mark", "done"}},
      {{1, 1, 1}, {"find 0", desktop, "find 11", start, "mark", "done"}},
      {{0, 1, 1}, {"find 11", start, "mark", "done"}},
      {{0, 1, 2}, {"find 2", programs, "mark", "done"}},
      {{0, 1, 3}, {"find 2", programs, "mark", "done"}},  // any other placement: Programs
      {{1, 0, 1}, {"find 0", desktop, "mark", "done"}},
      {{1, 0, 2}, {"find 0", desktop, "mark", "done"}},
      {{0, 0, 1}, {}},  // nothing at all: no mark removal, no message
      {{0, 0, 2}, {}},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Choices.AddToDesktop << c.Choices.AddToStartMenu
                                    << c.Choices.StartMenuPlacement);
    FakePlatform platform = MakePlatform();
    Register(platform, c.Choices, MakeInstructions());
    EXPECT_EQ(platform.Calls, c.Calls);
  }
}

TEST(Registration, EveryShortcutCarriesTheSameFields) {
  FakePlatform platform = MakePlatform();
  EXPECT_EQ(Register(platform, {1, 1, 2}, MakeInstructions()), 2);
  ASSERT_EQ(platform.Written.size(), 2u);
  for (const ShortcutRequest& r : platform.Written) {
    EXPECT_STREQ(r.TargetPath, "C:\\Tools\\Tessel\\Tessel.exe");
    EXPECT_STREQ(r.WorkingDirectory, "C:\\Tools\\Tessel");
    EXPECT_STREQ(r.IconPath, "C:\\Tools\\Tessel\\Tessel.exe");
    EXPECT_EQ(r.IconIndex, 0);
    EXPECT_EQ(r.ShowCommand, 1);
    EXPECT_STREQ(r.Description, "");
    EXPECT_STREQ(r.Arguments, "");
  }
  ASSERT_EQ(platform.MarksRemoved.size(), 1u);
  EXPECT_EQ(platform.MarksRemoved[0], "C:\\Tools\\Tessel\\Tessel.exe:Zone.Identifier");
}

TEST(Registration, UntitledLinksAreNamedMuDai) {
  FakePlatform platform = MakePlatform();
  Register(platform, {1, 0, 2}, MakeInstructions("無題"));
  ASSERT_EQ(platform.Written.size(), 1u);
  EXPECT_STREQ(platform.Written[0].LinkPath, "C:\\users\\me\\Desktop\\無題.lnk");
}

struct FailureCase {
  const char* Name;
  int FailingFolder;
  FolderLookup Failure;  // kFolderFound: the lookup works and the save fails
  std::vector<std::string> Calls;
  const char* Notice;
  SetupChoices Choices = {1, 1, 2};
};

TEST(Registration, ShortcutsNotMadeAreNamedInAWarning) {
  const std::string desktop = "write C:\\users\\me\\Desktop\\Tessel.lnk";
  const std::string programs = "write C:\\users\\me\\Start Menu\\Programs\\Tessel.lnk";
  const FailureCase cases[] = {
      {"no allocator at the desktop stops both", kFolderDesktop, kNoAllocator,
       {"find 0", "mark", "warning"}, kNeitherMade},
      {"no allocator at the Start menu skips it", kFolderPrograms, kNoAllocator,
       {"find 0", desktop, "find 2", "mark", "warning"}, kOnlyDesktopMade},
      {"no desktop folder: the Start menu still comes", kFolderDesktop, kFolderMissing,
       {"find 0", "find 2", programs, "mark", "warning"}, kOnlyStartMenuMade},
      {"no Programs folder", kFolderPrograms, kFolderMissing,
       {"find 0", desktop, "find 2", "mark", "warning"}, kOnlyDesktopMade},
      {"the desktop link not saved", kFolderDesktop, kFolderFound,
       {"find 0", desktop, "find 2", programs, "mark", "warning"}, kOnlyStartMenuMade},
      {"only the desktop asked, not saved", kFolderDesktop, kFolderFound,
       {"find 0", desktop, "mark", "warning"}, kDesktopNotMade, {1, 0, 2}},
      {"only the Start menu asked, no folder", kFolderPrograms, kFolderMissing,
       {"find 2", "mark", "warning"}, kStartMenuNotMade, {0, 1, 2}},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.Name);
    FakePlatform platform = MakePlatform();
    if (c.Failure == kFolderFound) {
      platform.Unsaved.push_back(platform.Folders[c.FailingFolder] + "\\Tessel.lnk");
    } else {
      platform.Failures[c.FailingFolder] = c.Failure;
    }
    Register(platform, c.Choices, MakeInstructions());
    EXPECT_EQ(platform.Calls, c.Calls);
    EXPECT_EQ(platform.Notices, Texts{c.Notice});
  }
}

TEST(Registration, PathsOverTwoHundredFiftyNineBytesAreSkippedAndNamed) {
  // Desktop path + "\" + "Tessel.lnk": 248 + 1 + 10 = 259 fits; Programs is longer.
  FakePlatform platform = MakePlatform();
  platform.Folders[kFolderDesktop] = std::string(248, 'd');
  platform.Folders[kFolderPrograms] = std::string(249, 'p');
  EXPECT_EQ(Register(platform, {1, 1, 2}, MakeInstructions()), 1);
  ASSERT_EQ(platform.Written.size(), 1u);
  EXPECT_EQ(std::strlen(platform.Written[0].LinkPath), 259u);
  EXPECT_EQ(platform.Notices, Texts{kOnlyDesktopMade});

  // A tool folder whose target path is too long makes no shortcut, and its
  // mark path (longer still) is not touched; the warning names both.
  FakePlatform second = MakePlatform();
  std::string tool(250, 't');
  EXPECT_EQ(Register(second, {1, 1, 2}, MakeInstructions(), tool.c_str()), 0);
  EXPECT_TRUE(second.Written.empty());
  EXPECT_TRUE(second.MarksRemoved.empty());
  EXPECT_EQ(second.Notices, Texts{kNeitherMade});
}

TEST(Registration, TitlesThatCannotNameAFileWriteNoLinkAndAreWarnedOf) {
  const char* refused[] = {"..\\..\\Windows\\evil", "a/b", "x:stream", "what?", "star*",
                           "pipe|", "<lt", "gt>", "quote\"", "tab\there"};
  for (const char* title : refused) {
    SCOPED_TRACE(title);
    FakePlatform platform = MakePlatform();
    Register(platform, {1, 1, 2}, MakeInstructions(title));
    EXPECT_TRUE(platform.Written.empty());
    EXPECT_EQ(platform.MarksRemoved.size(), 1u);
    EXPECT_EQ(platform.Notices, Texts{kNeitherMade});
  }
  // 表 and ソ end in 0x5C yet are ordinary characters of a name.
  const char* accepted[] = {"表示ソフト", "Tessel 1.1", "写真 (デジカメ)", "a.b.c"};
  for (const char* title : accepted) {
    SCOPED_TRACE(title);
    FakePlatform platform = MakePlatform();
    Register(platform, {1, 0, 2}, MakeInstructions(title));
    ASSERT_EQ(platform.Written.size(), 1u);
    EXPECT_EQ(std::string(platform.Written[0].LinkPath),
              std::string("C:\\users\\me\\Desktop\\") + title + ".lnk");
    EXPECT_EQ(platform.Notices, Texts{kCompleted});
  }
}

// ---- The link writer's calls ---------------------------------------------

struct FakeLink {
  std::string FailAt;
  std::vector<std::string> Calls;
  std::vector<std::string> Arguments;
  int Obtained = 0;
  int Released = 0;
  int ComDepth = 0;
};

FakeLink& Link(void* c) { return *static_cast<FakeLink*>(c); }

int Step(void* c, const char* name, const std::string& argument = "") {
  Link(c).Calls.push_back(name);
  if (!argument.empty()) Link(c).Arguments.push_back(std::string(name) + "=" + argument);
  return Link(c).FailAt == name ? 0 : 1;
}

void FInit(void* c) {
  Link(c).Calls.push_back("init");
  Link(c).ComDepth += 1;
}
int FCreate(void* c) {
  int ok = Step(c, "create");
  Link(c).Obtained += ok;
  return ok;
}
int FQuery(void* c) {
  int ok = Step(c, "query");
  Link(c).Obtained += ok;
  return ok;
}
int FPath(void* c, const char* s) { return Step(c, "path", s); }
int FDescription(void* c, const char* s) { return Step(c, "description", s); }
int FArguments(void* c, const char* s) { return Step(c, "arguments", s); }
int FDirectory(void* c, const char* s) { return Step(c, "directory", s); }
int FIcon(void* c, const char* s, int i) { return Step(c, "icon", std::string(s) + "," + std::to_string(i)); }
int FShow(void* c, int show) { return Step(c, "show", std::to_string(show)); }
int FConvert(void* c, const char* s) { return Step(c, "convert", s); }
int FSave(void* c) { return Step(c, "save"); }
void FReleaseFile(void* c) {
  Link(c).Calls.push_back("release file");
  Link(c).Released += 1;
}
void FReleaseLink(void* c) {
  Link(c).Calls.push_back("release link");
  Link(c).Released += 1;
}
void FUninit(void* c) {
  Link(c).Calls.push_back("uninit");
  Link(c).ComDepth -= 1;
}

TEST(LinkWriter, CallOrderAndReleasesOnEveryPath) {
  const std::vector<std::string> all = {"init",     "create",  "query", "path",         "description",
                                        "arguments", "directory", "icon", "show", "convert",
                                        "save",     "release file", "release link", "uninit"};
  struct Case {
    std::string FailAt;
    int Result;
    std::vector<std::string> Calls;
  };
  const Case cases[] = {
      {"", 1, all},
      {"save", 0, all},
      {"create", 0, {"init", "create", "uninit"}},
      {"query", 0, {"init", "create", "query", "release link", "uninit"}},
      {"path", 0, {"init", "create", "query", "path", "release file", "release link", "uninit"}},
      {"description", 0,
       {"init", "create", "query", "path", "description", "release file", "release link", "uninit"}},
      {"arguments", 0,
       {"init", "create", "query", "path", "description", "arguments", "release file",
        "release link", "uninit"}},
      {"directory", 0,
       {"init", "create", "query", "path", "description", "arguments", "directory",
        "release file", "release link", "uninit"}},
      {"icon", 0,
       {"init", "create", "query", "path", "description", "arguments", "directory", "icon",
        "release file", "release link", "uninit"}},
      {"show", 0,
       {"init", "create", "query", "path", "description", "arguments", "directory", "icon",
        "show", "release file", "release link", "uninit"}},
      {"convert", 0,
       {"init", "create", "query", "path", "description", "arguments", "directory", "icon",
        "show", "convert", "release file", "release link", "uninit"}},
  };
  ShortcutRequest request;
  SetupInstructions instructions = MakeInstructions();
  ASSERT_TRUE(ComposeShortcutRequest(request, "C:\\Desk", "C:\\Tool", instructions));
  for (const Case& c : cases) {
    SCOPED_TRACE("failing: " + c.FailAt);
    FakeLink link;
    link.FailAt = c.FailAt;
    LinkWriterOps ops = {&link,  FInit,    FCreate, FQuery,       FPath,        FDescription,
                         FArguments, FDirectory, FIcon, FShow, FConvert, FSave,
                         FReleaseFile, FReleaseLink, FUninit};
    EXPECT_EQ(RunLinkWriter(ops, request), c.Result);
    EXPECT_EQ(link.Calls, c.Calls);
    EXPECT_EQ(link.Obtained, link.Released);
    EXPECT_EQ(link.ComDepth, 0);
  }
}

TEST(LinkWriter, FieldsHandedToTheLinkObject) {
  ShortcutRequest request;
  SetupInstructions instructions = MakeInstructions();
  ASSERT_TRUE(ComposeShortcutRequest(request, "C:\\Desk", "C:\\Tool", instructions));
  FakeLink link;
  LinkWriterOps ops = {&link,  FInit,    FCreate, FQuery,       FPath,        FDescription,
                       FArguments, FDirectory, FIcon, FShow, FConvert, FSave,
                       FReleaseFile, FReleaseLink, FUninit};
  ASSERT_EQ(RunLinkWriter(ops, request), 1);
  const std::vector<std::string> want = {"path=C:\\Tool\\Tessel.exe", "directory=C:\\Tool",
                                         "icon=C:\\Tool\\Tessel.exe,0", "show=1",
                                         "convert=C:\\Desk\\Tessel.lnk"};
  EXPECT_EQ(link.Arguments, want);  // description and arguments are empty
}

}  // namespace
