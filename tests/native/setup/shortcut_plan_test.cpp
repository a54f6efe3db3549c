#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "setup/shortcut_plan.h"

namespace {

SetupInstructions Instructions(const char* target, const char* title) {
  SetupInstructions instructions;
  std::strcpy(instructions.TargetFileName, target);
  std::strcpy(instructions.Title, title);
  return instructions;
}

TEST(ShortcutPlan, FoldersForEachChoiceDesktopFirst) {
  struct PlanCase {
    SetupChoices Choices;
    int Count;
    int First, Second;
  };
  // CSIDL_DESKTOP 0, CSIDL_PROGRAMS 2, CSIDL_STARTMENU 11.
  const PlanCase cases[] = {
      {{1, 1, 2}, 2, 0, 2},  {{1, 1, 1}, 2, 0, 11}, {{0, 1, 1}, 1, 11, -1},
      {{0, 1, 2}, 1, 2, -1}, {{0, 1, 0}, 1, 2, -1},  {{1, 0, 1}, 1, 0, -1},
      {{0, 0, 1}, 0, -1, -1},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Choices.AddToDesktop << c.Choices.AddToStartMenu
                                    << c.Choices.StartMenuPlacement);
    int folders[2] = {-1, -1};
    ASSERT_EQ(PlanShortcutFolders(folders, c.Choices), c.Count);
    EXPECT_EQ(folders[0], c.First);
    EXPECT_EQ(folders[1], c.Second);
  }
}

TEST(ShortcutPlan, RequestNamesTheLinkByTitleAndPointsAtTheTarget) {
  ShortcutRequest request;
  ASSERT_TRUE(ComposeShortcutRequest(request, "C:\\users\\me\\Desktop", "D:\\写真\\Tessel",
                                     Instructions("Tessel.exe", "表示ソフト")));
  EXPECT_STREQ(request.LinkPath, "C:\\users\\me\\Desktop\\表示ソフト.lnk");
  EXPECT_STREQ(request.TargetPath, "D:\\写真\\Tessel\\Tessel.exe");
  EXPECT_STREQ(request.WorkingDirectory, "D:\\写真\\Tessel");
  EXPECT_STREQ(request.IconPath, "D:\\写真\\Tessel\\Tessel.exe");
  EXPECT_EQ(request.IconIndex, 0);
  EXPECT_EQ(request.ShowCommand, 1);  // SW_SHOWNORMAL
  EXPECT_STREQ(request.Description, "");
  EXPECT_STREQ(request.Arguments, "");
}

TEST(ShortcutPlan, PathsPastTwoHundredFiftyNineBytesGiveNoRequest) {
  ShortcutRequest request;
  const SetupInstructions instructions = Instructions("Tessel.exe", "Tessel");
  // folder + "\" + "Tessel.lnk": 248 + 1 + 10 = 259 bytes fit, 260 do not.
  EXPECT_TRUE(ComposeShortcutRequest(request, std::string(248, 'd').c_str(), "C:\\T", instructions));
  EXPECT_EQ(std::strlen(request.LinkPath), 259u);
  EXPECT_FALSE(ComposeShortcutRequest(request, std::string(249, 'd').c_str(), "C:\\T", instructions));
  // tool folder + "\" + "Tessel.exe": the same bound for the target.
  EXPECT_TRUE(ComposeShortcutRequest(request, "C:\\D", std::string(248, 't').c_str(), instructions));
  EXPECT_FALSE(ComposeShortcutRequest(request, "C:\\D", std::string(249, 't').c_str(), instructions));

  char mark[kPathSize];
  // + ":Zone.Identifier" (16 bytes): 232 + 1 + 10 + 16 = 259.
  EXPECT_TRUE(ComposeDownloadMarkPath(mark, std::string(232, 't').c_str(), "Tessel.exe"));
  EXPECT_EQ(std::string(mark), std::string(232, 't') + "\\Tessel.exe:Zone.Identifier");
  EXPECT_FALSE(ComposeDownloadMarkPath(mark, std::string(233, 't').c_str(), "Tessel.exe"));
  EXPECT_STREQ(mark, "");
}

TEST(ShortcutPlan, OnlyPlainTitlesNameALinkFile) {
  const char* refused[] = {"", "..\\up", "a/b", "C:x", "x:stream", "what?", "star*",
                           "pipe|", "<lt", "gt>", "quote\"", "tab\there", "line\nend"};
  for (const char* title : refused) {
    SCOPED_TRACE(title);
    EXPECT_FALSE(IsPlainFileName(title));
    ShortcutRequest request;
    EXPECT_FALSE(ComposeShortcutRequest(request, "C:\\D", "C:\\T", Instructions("a.exe", title)));
  }
  // 表 and ソ end in 0x5C yet are ordinary characters of a name.
  const char* accepted[] = {"表", "ソフト", "Tessel 1.1", "写真 (デジカメ)", "a.b.c", "無題"};
  for (const char* title : accepted) {
    SCOPED_TRACE(title);
    EXPECT_TRUE(IsPlainFileName(title));
  }
}

}  // namespace
