#include "conditions/commit_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// The dialog as the first help example leaves it: PICT0105.jpg of
// PICT0100..PICT0120 chosen, capture date 2011-05-02 in layout 0.
CommitFields HelpExample() {
  CommitFields f;
  std::memset(&f, 0, sizeof f);
  f.FolderExists = true;
  f.FolderIsDirectory = true;
  std::strcpy(f.Folder, "C:\\photo");
  std::strcpy(f.CommonPart, "PICT");
  std::strcpy(f.SourceDigits, "4");
  std::strcpy(f.Extension, ".jpg");
  std::strcpy(f.StartNumber, "105");
  std::strcpy(f.EndNumber, "120");
  std::strcpy(f.Part1, "2011");
  std::strcpy(f.Part2, "0502");
  std::strcpy(f.SerialDigits, "3");
  std::strcpy(f.SerialStart, "1");
  f.StepOne = true;
  f.SeparatorIndex = 0;
  f.ConfirmationTicked = true;
  f.AutoDate = true;
  f.DatePosition = 0;
  return f;
}

RenameSettings Defaults() {
  RenameSettings s;
  MakeDefaultSettings(s);
  return s;
}

struct Outcome {
  bool accepted;
  CommitRefusal refusal;
  RenameSettings w;
};

Outcome Commit(const CommitFields& f) {
  Outcome o;
  o.w = Defaults();
  std::memset(&o.refusal, 0x55, sizeof o.refusal);
  o.accepted = CheckCommitFields(f, o.w, o.refusal);
  return o;
}

std::function<void(CommitFields&)> InFolder(const std::string& folder, bool countsCharacters) {
  return [=](CommitFields& f) {
    std::strcpy(f.Folder, folder.c_str());
    f.CountsCharacters = countsCharacters;
  };
}

std::string Kanji130() {
  std::string folder = "C:\\";
  for (int i = 0; i < 130; ++i) folder += "写";
  return folder;
}

const char kForbidden[] = "ファイル名に \\/:*?\"<>|. は使用できません。　";

struct RefusalCase {
  const char* name;
  std::function<void(CommitFields&)> change;
  int check;
  const char* message;
  int focus;
};

TEST(CommitRules, EveryRefusalHasItsTextAndFocus) {
  const RefusalCase cases[] = {
      {"running", [](CommitFields& f) { f.RenameRunning = true; }, kRefuseRenameRunning,
       "改名処理の実行中です。処理が終わってから実行してください。  ", 0},
      {"cd-rom", [](CommitFields& f) { f.FolderIsCdRom = true; }, kRefuseCdRom,
       "指定のファイルは名前を変更できません。（ＣＤ－ＲＯＭ）  ", 1425},
      {"no folder", [](CommitFields& f) { f.FolderExists = false; }, kRefuseNoFolder,
       "指定のフォルダは存在しません。 ", 1425},
      {"not a folder", [](CommitFields& f) { f.FolderIsDirectory = false; }, kRefuseNotFolder,
       "指定のフォルダはフォルダではありません。  ", 1425},
      {"start empty", [](CommitFields& f) { f.StartNumber[0] = '\0'; }, kRefuseStartEmpty,
       "元ファイル連番開始番号が未入力です。  ", 1001},
      {"start not digits", [](CommitFields& f) { std::strcpy(f.StartNumber, "1a5"); },
       kRefuseStartNotDigits, "元ファイル連番開始番号に数字でない文字が入力されています。  ", 1001},
      {"start signed", [](CommitFields& f) { std::strcpy(f.StartNumber, "+105"); },
       kRefuseStartNotDigits, "元ファイル連番開始番号に数字でない文字が入力されています。  ", 1001},
      {"start full-width", [](CommitFields& f) { std::strcpy(f.StartNumber, "１０５"); },
       kRefuseStartNotDigits, "元ファイル連番開始番号に数字でない文字が入力されています。  ", 1001},
      {"start too long", [](CommitFields& f) { std::strcpy(f.StartNumber, "12345"); },
       kRefuseStartTooLong, "元ファイル連番開始番号が桁数を超えています。  ", 1001},
      {"start past 32 bits", [](CommitFields& f) { std::strcpy(f.StartNumber, "99999999999"); },
       kRefuseStartTooLong, "元ファイル連番開始番号が桁数を超えています。  ", 1001},
      {"end empty", [](CommitFields& f) { f.EndNumber[0] = '\0'; }, kRefuseEndEmpty,
       "元ファイル連番終了番号が未入力です。  ", 1002},
      {"end not digits", [](CommitFields& f) { std::strcpy(f.EndNumber, "12 "); },
       kRefuseEndNotDigits, "元ファイル連番終了番号に数字でない文字が入力されています。  ", 1002},
      {"end too long", [](CommitFields& f) { std::strcpy(f.EndNumber, "10000"); },
       kRefuseEndTooLong, "元ファイル連番終了番号が桁数を超えています。  ", 1002},
      {"start after end", [](CommitFields& f) { std::strcpy(f.StartNumber, "121"); },
       kRefuseStartAfterEnd, "連番 開始番号 > 連番 終了番号 です。  ", 1001},
      {"part 1 full stop", [](CommitFields& f) { std::strcpy(f.Part1, "a.b"); },
       kRefusePart1Character, kForbidden, 1005},
      {"part 1 too long",
       [](CommitFields& f) { std::strcpy(f.Part1, "0123456789012345678901234567890123456789"); },
       kRefusePart1TooLong, "ＡＢＡＢは半角３９文字（全角１９文字）以内で入力してください。  ", 1005},
      {"part 2 slash", [](CommitFields& f) { std::strcpy(f.Part2, "05/02"); },
       kRefusePart2Character, kForbidden, 1006},
      {"part 2 line feed from a damaged date", [](CommitFields& f) { std::strcpy(f.Part2, "05\n2"); },
       kRefusePart2Character, kForbidden, 1006},
      {"part 2 too long",
       [](CommitFields& f) { std::strcpy(f.Part2, "富士山富士山富士山富士山富士山富士山富士山"); },
       kRefusePart2TooLong, "ＣＤＣＤは半角３９文字（全角１９文字）以内で入力してください。  ", 1006},
      {"serial digits 10", [](CommitFields& f) { std::strcpy(f.SerialDigits, "10"); },
       kRefuseSerialDigitsRange, "連番の桁数は０～９で入力してください。  ", 1007},
      {"serial digits -1", [](CommitFields& f) { std::strcpy(f.SerialDigits, "-1"); },
       kRefuseSerialDigitsRange, "連番の桁数は０～９で入力してください。  ", 1007},
      {"serial required", [](CommitFields& f) { std::strcpy(f.SerialDigits, "0"); },
       kRefuseSerialRequired, "開始番号≠終了番号のときは連番が必要です。  ", 1007},
      {"serial start empty", [](CommitFields& f) { f.SerialStart[0] = '\0'; },
       kRefuseSerialStartEmpty, "新ファイル名の連番の開始番号が未入力です。  ", 1008},
      {"serial start not digits", [](CommitFields& f) { std::strcpy(f.SerialStart, "-1"); },
       kRefuseSerialStartNotDigits, "連番の開始番号に数字でない文字が入力されています。  ", 1008},
      {"serial start too long", [](CommitFields& f) { std::strcpy(f.SerialStart, "1000"); },
       kRefuseSerialStartTooLong, "連番の開始番号が桁数を超えています。  ", 1008},
      {"nothing to name",
       [](CommitFields& f) {
         std::strcpy(f.StartNumber, "120");
         f.Part1[0] = f.Part2[0] = '\0';
         std::strcpy(f.SerialDigits, "0");
       },
       kRefuseNothingToName, "新ファイル名が未入力です。  ", 1005},
      {"step 10 with 1 digit",
       [](CommitFields& f) {
         f.StepOne = false;
         std::strcpy(f.SerialDigits, "1");
       },
       kRefuseStepNeedsDigits, "増分が１０のときは桁数は２以上を設定して下さい。  ", 1007},
      {"11 digits without separator", [](CommitFields& f) { f.SeparatorIndex = 2; },
       kRefuseTooManyDigits,
       "新ファイル名の最後が９桁を超える連続数字になっています。(11 連続) \n"
       "（セパレータ文字を使用すればＯＫです。） ",
       1008},
      {"a path of 260 characters", InFolder("C:\\" + std::string(239, 'a'), true), kRefusePathTooLong,
       "フォルダとファイル名を合わせた長さが、Windows で扱える長さを超えています。  ", 1005},
  };
  for (const RefusalCase& c : cases) {
    CommitFields f = HelpExample();
    c.change(f);
    Outcome o = Commit(f);
    EXPECT_FALSE(o.accepted) << c.name;
    EXPECT_EQ(o.refusal.Check, c.check) << c.name;
    EXPECT_STREQ(o.refusal.Message, c.message) << c.name;
    EXPECT_EQ(o.refusal.Focus, c.focus) << c.name;
  }
  EXPECT_STREQ(kCommitRefusalCaption, "エラー");
  EXPECT_EQ(std::strlen(kForbidden), 44u);
}

// Every fault at once, then each one mended in turn: the refusals must come
// in the order of the checks.
TEST(CommitRules, ChecksRunInTheirOrder) {
  CommitFields f = HelpExample();
  f.RenameRunning = true;
  f.FolderIsCdRom = true;
  f.FolderExists = false;
  f.FolderIsDirectory = false;
  std::strcpy(f.StartNumber, "");
  std::strcpy(f.EndNumber, "");
  std::strcpy(f.Part1, "a:b");
  std::strcpy(f.Part2, "c*d");
  std::strcpy(f.SerialDigits, "12");
  std::strcpy(f.SerialStart, "");
  f.StepOne = false;
  f.SeparatorIndex = 2;

  struct Mend {
    int check;
    std::function<void(CommitFields&)> mend;
  } steps[] = {
      {kRefuseRenameRunning, [](CommitFields& f) { f.RenameRunning = false; }},
      {kRefuseCdRom, [](CommitFields& f) { f.FolderIsCdRom = false; }},
      {kRefuseNoFolder, [](CommitFields& f) { f.FolderExists = true; }},
      {kRefuseNotFolder, [](CommitFields& f) { f.FolderIsDirectory = true; }},
      {kRefuseStartEmpty, [](CommitFields& f) { std::strcpy(f.StartNumber, "x"); }},
      {kRefuseStartNotDigits, [](CommitFields& f) { std::strcpy(f.StartNumber, "99999"); }},
      {kRefuseStartTooLong, [](CommitFields& f) { std::strcpy(f.StartNumber, "0200"); }},
      {kRefuseEndEmpty, [](CommitFields& f) { std::strcpy(f.EndNumber, "1-2"); }},
      {kRefuseEndNotDigits, [](CommitFields& f) { std::strcpy(f.EndNumber, "10000"); }},
      {kRefuseEndTooLong, [](CommitFields& f) { std::strcpy(f.EndNumber, "100"); }},
      {kRefuseStartAfterEnd, [](CommitFields& f) { std::strcpy(f.EndNumber, "300"); }},
      {kRefusePart1Character, [](CommitFields& f) { std::strcpy(f.Part1, "2011"); }},
      {kRefusePart2Character, [](CommitFields& f) { std::strcpy(f.Part2, "0502"); }},
      {kRefuseSerialDigitsRange, [](CommitFields& f) { std::strcpy(f.SerialDigits, "0"); }},
      {kRefuseSerialRequired, [](CommitFields& f) { std::strcpy(f.SerialDigits, "1"); }},
      {kRefuseSerialStartEmpty, [](CommitFields& f) { std::strcpy(f.SerialStart, "7"); }},
      {kRefuseStepNeedsDigits, [](CommitFields& f) { std::strcpy(f.SerialDigits, "2"); }},
      {kRefuseTooManyDigits, [](CommitFields& f) { f.SeparatorIndex = 1; }},
  };
  for (const Mend& step : steps) {
    Outcome o = Commit(f);
    ASSERT_FALSE(o.accepted);
    EXPECT_EQ(o.refusal.Check, step.check);
    step.mend(f);
  }
  Outcome o = Commit(f);
  EXPECT_TRUE(o.accepted) << o.refusal.Check;
  EXPECT_EQ(o.w.SourceFirst, 200);
  EXPECT_EQ(o.w.SourceLast, 300);
  EXPECT_EQ(o.w.SerialDigits, 2);
  EXPECT_EQ(o.w.SerialStart, 7);
  EXPECT_EQ(o.w.SerialStep, 10);
  EXPECT_EQ(o.w.SeparatorKind, 1);
}

TEST(CommitRules, AcceptedFieldsFillTheWorkingCopy) {
  CommitFields f = HelpExample();
  std::strcpy(f.Folder, "C:\\写真\\表\\");  // 表 is 95 5C: only the last backslash goes
  std::strcpy(f.Extension, "JPG");
  std::strcpy(f.StartNumber, "0100");
  Outcome o = Commit(f);
  ASSERT_TRUE(o.accepted) << o.refusal.Message;
  EXPECT_STREQ(o.w.SourceFolder, "C:\\写真\\表");
  EXPECT_STREQ(o.w.SourceCommonPart, "PICT");
  EXPECT_STREQ(o.w.SourceExtension, ".JPG");
  EXPECT_EQ(o.w.SourceDigits, 4);
  EXPECT_EQ(o.w.SourceFirst, 100);
  EXPECT_EQ(o.w.SourceLast, 120);
  EXPECT_STREQ(o.w.NamePart1, "2011");
  EXPECT_STREQ(o.w.NamePart2, "0502");
  EXPECT_EQ(o.w.SerialDigits, 3);
  EXPECT_EQ(o.w.SerialStart, 1);
  EXPECT_EQ(o.w.SerialStep, 1);
  EXPECT_EQ(o.w.SeparatorKind, 0);
  // The checks leave the rest of the record as it was taken.
  RenameSettings d = Defaults();
  EXPECT_EQ(o.w.FormatVersion, d.FormatVersion);
  EXPECT_EQ(std::memcmp(o.w.Part1History, d.Part1History, sizeof d.Part1History), 0);
  EXPECT_EQ(std::memcmp(o.w.Reserved, d.Reserved, sizeof d.Reserved), 0);
  EXPECT_EQ(o.w.WindowWidth, d.WindowWidth);
}

TEST(CommitRules, NoSourceDigitsSkipsTheRangeAndStoresZero) {
  CommitFields f = HelpExample();
  std::strcpy(f.SourceDigits, "0");
  std::strcpy(f.StartNumber, "garbage");
  f.EndNumber[0] = '\0';
  std::strcpy(f.SerialDigits, "0");
  f.SerialStart[0] = '\0';
  Outcome o = Commit(f);
  ASSERT_TRUE(o.accepted) << o.refusal.Message;
  EXPECT_EQ(o.w.SourceFirst, 0);
  EXPECT_EQ(o.w.SourceLast, 0);
  EXPECT_EQ(o.w.SerialDigits, 0);
  EXPECT_EQ(o.w.SerialStart, 0);
}

struct AcceptCase {
  const char* name;
  std::function<void(CommitFields&)> change;
  bool accepted;
};

TEST(CommitRules, BoundariesOfTheNameRules) {
  const AcceptCase cases[] = {
      {"one file without serial",
       [](CommitFields& f) {
         std::strcpy(f.StartNumber, "100");
         std::strcpy(f.EndNumber, "100");
         std::strcpy(f.SerialDigits, "0");
       },
       true},
      {"serial 2 digits with step 10",
       [](CommitFields& f) {
         f.StepOne = false;
         std::strcpy(f.SerialDigits, "2");
       },
       true},
      {"11 digits with separator _", [](CommitFields&) {}, true},
      {"abc and 9 serial digits without separator",
       [](CommitFields& f) {
         f.SeparatorIndex = 2;
         std::strcpy(f.Part1, "abc");
         f.Part2[0] = '\0';
         std::strcpy(f.SerialDigits, "9");
       },
       true},
      {"1 trailing digit and 9 serial digits without separator",
       [](CommitFields& f) {
         f.SeparatorIndex = 2;
         std::strcpy(f.Part1, "abc");
         std::strcpy(f.Part2, "x1");
         std::strcpy(f.SerialDigits, "9");
       },
       false},
      {"digits of part 1 run into part 2",
       [](CommitFields& f) {
         f.SeparatorIndex = 2;
         std::strcpy(f.Part1, "12345");
         std::strcpy(f.Part2, "67890");
         std::strcpy(f.SerialDigits, "0");
         std::strcpy(f.EndNumber, "105");
       },
       false},
      {"9 digits across both parts, no serial",
       [](CommitFields& f) {
         f.SeparatorIndex = 2;
         std::strcpy(f.Part1, "1234");
         std::strcpy(f.Part2, "56789");
         std::strcpy(f.SerialDigits, "0");
         std::strcpy(f.EndNumber, "105");
       },
       true},
      {"39-byte part", [](CommitFields& f) { std::strcpy(f.Part1, "012345678901234567890123456789012345678"); },
       true},
      {"serial digits read like a decimal conversion",
       [](CommitFields& f) { std::strcpy(f.SerialDigits, " 3x"); }, true},
      {"serial start 0", [](CommitFields& f) { std::strcpy(f.SerialStart, "0"); }, true},
      {"serial start 999", [](CommitFields& f) { std::strcpy(f.SerialStart, "999"); }, true},
      {"start 0100 is 100", [](CommitFields& f) { std::strcpy(f.StartNumber, "0100"); }, true},
      // The folder, a backslash and 2011_0502_001.jpg against MAX_PATH.
      {"259 characters", InFolder("C:\\" + std::string(238, 'a'), true), true},
      {"260 characters", InFolder("C:\\" + std::string(239, 'a'), true), false},
      {"281 bytes of 151 characters on NT", InFolder(Kanji130(), true), true},
      {"the same on Windows 95, 98 and Me", InFolder(Kanji130(), false), false},
      {"start and end outside the scanned range",
       [](CommitFields& f) {
         std::strcpy(f.StartNumber, "1");
         std::strcpy(f.EndNumber, "9999");
       },
       true},
  };
  for (const AcceptCase& c : cases) {
    CommitFields f = HelpExample();
    c.change(f);
    Outcome o = Commit(f);
    EXPECT_EQ(o.accepted, c.accepted) << c.name << ": " << o.refusal.Check;
  }
}

TEST(CommitRules, ConfirmationTextCarriesTheSerialFlagAndTheFirstName) {
  struct Case {
    const char* part1;
    const char* part2;
    int separator, digits, start;
    const char* text;
  } cases[] = {
      {"2011", "0502", 0, 3, 1, "12011_0502_001"},
      {"2011", "0502", 0, 0, 0, "02011_0502"},
      {"Hawaii", "", 0, 4, 1, "1Hawaii_0001"},
      {"富士山", "", 2, 4, 101, "1富士山0101"},
      {"", "札幌", 1, 2, 10, "1札幌-10"},
      {"", "", 0, 3, 1, "1001"},
      {"函館", "", 0, 0, 0, "0函館"},
  };
  for (const Case& c : cases) {
    RenameSettings w = Defaults();
    std::strcpy(w.NamePart1, c.part1);
    std::strcpy(w.NamePart2, c.part2);
    w.SeparatorKind = c.separator;
    w.SerialDigits = c.digits;
    w.SerialStart = c.start;
    char text[kExchangeTextSize];
    ComposeConfirmationText(text, w);
    EXPECT_STREQ(text, c.text);
  }
}

TEST(CommitRules, CompleteCommitStoresSwitchesAndLeavesAutoSetDatesOutOfHistory) {
  struct Case {
    const char* part1;
    const char* part2;
    const char* auto1;
    const char* auto2;
    const char* head1;  // entry 0 of each history afterwards
    const char* head2;
  } cases[] = {
      {"2011", "0502", "2011", "0502", "北海道旅行", "札幌"},   // both untouched
      {"2011a", "0502", "2011", "0502", "2011a", "札幌"},      // part 1 edited
      {"2011", "0503", "2011", "0502", "北海道旅行", "0503"},  // part 2 edited
      {"2011", "0502", "", "", "2011", "0502"},                // typed, not set
      {"", "0502", "2011", "0502", "北海道旅行", "札幌"},       // part 1 cleared
  };
  for (const Case& c : cases) {
    RenameSettings w = Defaults();
    std::strcpy(w.NamePart1, c.part1);
    std::strcpy(w.NamePart2, c.part2);
    CommitFields f = HelpExample();
    f.ConfirmationTicked = false;
    f.AutoDate = false;
    f.DatePosition = 3;
    CompleteCommit(w, f, c.auto1, c.auto2);
    EXPECT_STREQ(w.Part1History[0], c.head1) << c.part1;
    EXPECT_STREQ(w.Part2History[0], c.head2) << c.part2;
    EXPECT_EQ(w.ShowConfirmation, '0');
    EXPECT_EQ(w.AutoDate, 0);
    EXPECT_EQ(w.DatePosition, 3);
  }
  RenameSettings w = Defaults();
  CommitFields f = HelpExample();
  CompleteCommit(w, f, "", "");
  EXPECT_EQ(w.ShowConfirmation, '1');
  EXPECT_EQ(w.AutoDate, 1);
  EXPECT_EQ(w.DatePosition, 0);
}

TEST(CommitRules, NamePartCharacters) {
  struct Case {
    const char* text;
    bool valid;
  } cases[] = {
      {"", true},          {"2011", true},      {"Hawaii", true},    {"富士山", true},
      {"ソ", true},        {"表", true},        {"ソ表ソ", true},    {"\x83\x7C", true},
      {"a.b", false},      {"a/b", false},      {"a\\b", false},     {"a:b", false},
      {"a*b", false},      {"a?b", false},      {"a\"b", false},     {"a<b", false},
      {"a>b", false},      {"a|b", false},      {".", false},        {"表\\", false},
      {"ソ.jpg", false},   {"a b", true},       {"_-!#$%&'()", true},
      {"\x83", true},  // a lead byte alone at the end is one character
      // Control bytes, as a damaged capture date brings them, also behind a
      // lead byte.
      {"2011\r", false}, {"05\n02", false}, {"\x0c", false},  {"\x01", false},
      {"a\x1f", false},  {"\x83\r", false}, {"a\x7f", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidNamePart(c.text), c.valid) << c.text;
}

using History = char[kHistorySlots][kHistoryWidth];

void FillHistory(History& h, const std::vector<const char*>& entries) {
  std::memset(h, ' ', sizeof h);
  for (int i = 0; i < kHistorySlots; ++i) h[i][0] = '\0';
  for (size_t i = 0; i < entries.size(); ++i) std::strcpy(h[i], entries[i]);
}

std::vector<std::string> Entries(const History& h) {
  std::vector<std::string> out;
  for (int i = 0; i < kHistorySlots; ++i) out.push_back(h[i]);
  return out;
}

TEST(CommitRules, UpdateHistoryTable) {
  struct Case {
    const char* name;
    std::vector<const char*> before;
    const char* value;
    std::vector<const char*> after;
  } cases[] = {
      {"empty value", {"a", "b"}, "", {"a", "b", "", "", "", "", "", "", "", ""}},
      {"already first", {"a", "b", "c"}, "a", {"a", "b", "c", "", "", "", "", "", "", ""}},
      {"entry 3 moves up",
       {"a", "b", "c", "d", "e"},
       "d",
       {"d", "a", "b", "c", "e", "", "", "", "", ""}},
      {"last entry moves up",
       {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
       "9",
       {"9", "0", "1", "2", "3", "4", "5", "6", "7", "8"}},
      {"new value pushes entry 9 out",
       {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
       "new",
       {"new", "0", "1", "2", "3", "4", "5", "6", "7", "8"}},
      {"new value into a short history", {"a"}, "b", {"b", "a", "", "", "", "", "", "", "", ""}},
      {"into an empty history", {}, "x", {"x", "", "", "", "", "", "", "", "", ""}},
      {"exact bytes only", {"abc", "ab"}, "ABC", {"ABC", "abc", "ab", "", "", "", "", "", "", ""}},
      {"a prefix is not a match", {"abc"}, "ab", {"ab", "abc", "", "", "", "", "", "", "", ""}},
  };
  for (const Case& c : cases) {
    History h;
    FillHistory(h, c.before);
    UpdateHistory(h, c.value);
    std::vector<std::string> want(c.after.begin(), c.after.end());
    EXPECT_EQ(Entries(h), want) << c.name;
  }
}

TEST(CommitRules, UpdateHistoryMovesEntriesWholeAndFindsValuesAfterAGap) {
  History h;
  FillHistory(h, {"a", "", "c"});
  // Bytes behind an entry's NUL travel with it.
  h[0][5] = 'X';
  UpdateHistory(h, "c");
  EXPECT_EQ(Entries(h), (std::vector<std::string>{"c", "a", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(h[1][5], 'X');
  // A 39-byte value fills its entry exactly.
  const char* longest = "富士山富士山富士山富士山富士山富士山A23";
  ASSERT_EQ(std::strlen(longest), 39u);
  UpdateHistory(h, longest);
  EXPECT_STREQ(h[0], longest);
  EXPECT_STREQ(h[1], "c");
}

TEST(CommitRules, DecimalValueReadsLikeAStandardConversion) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"", 0},           {"0", 0},          {"7", 7},           {"0100", 100},
      {" 12", 12},       {"\t-3", -3},      {"+4", 4},          {"12ab", 12},
      {"ab12", 0},       {"-", 0},          {"１", 0},          {"2147483647", 2147483647},
      {"99999999999", 2147483647},          {"-99999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(DecimalValue(c.text), c.value) << c.text;
}

TEST(CommitRules, CaptureDatePlacementByLayout) {
  struct Case {
    int position;
    bool sets1, sets2;
    const char* part1;
    const char* part2;
  } cases[] = {
      {0, true, true, "2011", "0502"},   {1, true, false, "20110502", ""},
      {2, true, false, "0502", ""},      {3, false, true, "", "20110502"},
      {4, false, true, "", "0502"},      {5, false, false, "", ""},
      {-1, false, false, "", ""},
  };
  for (const Case& c : cases) {
    DatePlacement p = PlaceCaptureDate("20110502", c.position);
    EXPECT_EQ(p.SetsPart1, c.sets1) << c.position;
    EXPECT_EQ(p.SetsPart2, c.sets2) << c.position;
    if (c.sets1) {
      EXPECT_STREQ(p.Part1, c.part1) << c.position;
    }
    if (c.sets2) {
      EXPECT_STREQ(p.Part2, c.part2) << c.position;
    }
  }
}

}  // namespace
