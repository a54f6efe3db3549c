// Every refusal of the commit, reached through the real dialog of Tessel.exe
// in one sitting: the exact text and caption of its message box, the error
// icon, the focus afterwards, and a record left untouched by all of them.
#include "e2e/conditions_fixture.h"

using namespace conditions_e2e;

namespace {

const char kForbidden[] = "ファイル名に \\/:*?\"<>|. は使用できません。　";

struct Refusal {
  const char* name;
  std::vector<std::pair<int, const char*>> texts;  // control, text set before OK
  std::vector<int> clicks;                          // radio buttons clicked before OK
  const char* message;
  int focus;
};

TEST(ConditionsRefusals, EveryCheckOfTheCommitRefusesWithItsMessageAndFocus) {
  RenameSettings record = DefaultRecord();
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("refusals", &record));
  std::string files = MakeSubFolder(t.Folder, "files");
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(files, "PICT", 4, 100, 120, ".txt", ""));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(files, "PICT0105.txt")));
  ASSERT_TRUE(WaitUntil([&] { return IsItemEnabled(dialog, IDOK); }, kEventWait));
  EXPECT_EQ(ItemText(dialog, 1001), "105");
  EXPECT_EQ(ItemText(dialog, 1002), "120");
  // Typing is limited to what the record keeps; pasted text is refused below.
  LRESULT limit = -1;
  Ask(GetDlgItem(dialog, 1005), EM_GETLIMITTEXT, 0, 0, "EM_GETLIMITTEXT", &limit);
  EXPECT_EQ(limit, 39);

  const std::string forty(40, 'x');
  const std::string twentySo = [] {
    std::string s;
    for (int i = 0; i < 20; ++i) s += "ソ";
    return s;
  }();
  const Refusal refusals[] = {
      {"start empty", {{1001, ""}}, {}, "元ファイル連番開始番号が未入力です。  ", 1001},
      {"start not digits",
       {{1001, "1O5"}},
       {},
       "元ファイル連番開始番号に数字でない文字が入力されています。  ",
       1001},
      {"start too many digits", {{1001, "12345"}}, {}, "元ファイル連番開始番号が桁数を超えています。  ",
       1001},
      {"end empty", {{1001, "105"}, {1002, ""}}, {}, "元ファイル連番終了番号が未入力です。  ", 1002},
      {"end not digits",
       {{1002, "12x"}},
       {},
       "元ファイル連番終了番号に数字でない文字が入力されています。  ",
       1002},
      {"end too many digits", {{1002, "99999"}}, {}, "元ファイル連番終了番号が桁数を超えています。  ",
       1002},
      {"start after end", {{1001, "121"}, {1002, "120"}}, {}, "連番 開始番号 > 連番 終了番号 です。  ",
       1001},
      {"full stop in part 1", {{1001, "105"}, {1005, "a.b"}}, {}, kForbidden, 1005},
      {"backslash in part 2", {{1005, "ok"}, {1006, "x\\y"}}, {}, kForbidden, 1006},
      {"part 1 longer than 39 bytes",
       {{1006, ""}, {1005, forty.c_str()}},
       {},
       "ＡＢＡＢは半角３９文字（全角１９文字）以内で入力してください。  ",
       1005},
      {"part 2 longer than 39 bytes",
       {{1005, "ok"}, {1006, twentySo.c_str()}},
       {},
       "ＣＤＣＤは半角３９文字（全角１９文字）以内で入力してください。  ",
       1006},
      {"serial digits beyond 9", {{1006, ""}, {1007, "10"}}, {}, "連番の桁数は０～９で入力してください。  ",
       1007},
      {"serial required", {{1007, "0"}}, {}, "開始番号≠終了番号のときは連番が必要です。  ", 1007},
      {"serial start empty", {{1007, "3"}, {1008, ""}}, {}, "新ファイル名の連番の開始番号が未入力です。  ",
       1008},
      {"serial start not digits",
       {{1008, "1a"}},
       {},
       "連番の開始番号に数字でない文字が入力されています。  ",
       1008},
      {"serial start too many digits", {{1008, "1000"}}, {}, "連番の開始番号が桁数を超えています。  ",
       1008},
      {"nothing to name",
       {{1008, "1"}, {1005, ""}, {1007, "0"}, {1002, "105"}},
       {},
       "新ファイル名が未入力です。  ",
       1005},
      {"increment 10 with 1 digit",
       {{1002, "120"}, {1007, "1"}},
       {1107},
       "増分が１０のときは桁数は２以上を設定して下さい。  ",
       1007},
      {"11 consecutive digits without separator",
       {{1007, "3"}, {1005, "2011"}, {1006, "0502"}},
       {1106, 1103},
       "新ファイル名の最後が９桁を超える連続数字になっています。(11 連続) \n"
       "（セパレータ文字を使用すればＯＫです。） ",
       1008},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.name);
    for (const auto& text : r.texts) SetItemText(dialog, text.first, text.second);
    for (int id : r.clicks) {
      ClickButton(dialog, id);
      ASSERT_TRUE(WaitUntil([&] { return IsButtonChecked(dialog, id); }, kEventWait));
    }
    // The focus starts elsewhere, so that the refusal must move it.
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, 1429)), TRUE);
    ASSERT_TRUE(WaitUntil([&] { return ControlId(FocusWindow(t.Thread())) == 1429; }, kEventWait));
    ASSERT_NO_FATAL_FAILURE(t.ExpectRefusal(dialog, r.message, r.focus));
  }
  EXPECT_TRUE(IsButtonChecked(dialog, 1103));
  EXPECT_FALSE(IsButtonChecked(dialog, 1101));

  // The folder is looked at only now: gone, then a file in its place.
  std::string gone = MakeSubFolder(t.Folder, "gone");
  ASSERT_NO_FATAL_FAILURE(MakeNumberedFiles(gone, "G", 2, 1, 1, ".txt", ""));
  ClickButton(dialog, 1101);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(gone, "G01.txt")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1403) == "G"; }, kEventWait));
  SetItemText(dialog, 1005, "ok");
  ASSERT_TRUE(DeleteFileA(JoinPath(gone, "G01.txt").c_str()));
  ASSERT_TRUE(RemoveDirectoryA(gone.c_str()));
  ASSERT_NO_FATAL_FAILURE(t.ExpectRefusal(dialog, "指定のフォルダは存在しません。 ", 1425));
  ASSERT_TRUE(WriteFileBytes(gone, "x", 1));
  ASSERT_NO_FATAL_FAILURE(
      t.ExpectRefusal(dialog, "指定のフォルダはフォルダではありません。  ", 1425));

  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  // Nothing of all that reached the record, and no file was renamed.
  RenameSettings s = t.ReadIni();
  record.SourceFirst = record.SourceLast = 0;
  EXPECT_TRUE(SameChoices(s, record));
  EXPECT_TRUE(FileExists(JoinPath(files, "PICT0105.txt")));
}

}  // namespace
