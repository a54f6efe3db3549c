// Names that code page 932 cannot hold, made with the wide calls as Windows
// holds them: a yen sign, whose best fit is a backslash, in a folder beside
// the look-alike that its ANSI name would be; Hangul; the wave dash of a Mac.
// Chosen through the real chooser, and as the folder that Tessel and Perch
// start from. Also a run whose new names would reach MAX_PATH.
#include "e2e/conditions_fixture.h"

using namespace conditions_e2e;

namespace {

std::wstring Wide(const std::string& ansi) {
  WCHAR wide[1024] = L"";
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 1024);
  return wide;
}

// Copies a Shift-JIS-named file (a photo, a program) to `folder`\`name`.
bool CopyW(const std::string& source, const std::wstring& folder, const std::wstring& name) {
  return CopyFileW(Wide(source).c_str(), (folder + L"\\" + name).c_str(), FALSE) != 0;
}

bool ExistsW(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Started from its own folder, tried again for a while as StartProgram does.
bool StartW(Program& program, const std::wstring& exe) {
  std::wstring line = L"\"" + exe + L"\"", folder = exe.substr(0, exe.rfind(L'\\'));
  STARTUPINFOW startup = {sizeof startup};
  return WaitUntil([&] {
    return CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &program.Process) != 0;
  }, kEventWait);
}

// Types a path the test's Shift-JIS cannot carry into the chooser's name box.
bool ChooseW(TesselRun& t, HWND dialog, const std::wstring& path) {
  ClickButton(dialog, 1425);
  HWND chooser = WaitForDialog(t.Pid(), kChooserCaption, kEventWait);
  HWND name = nullptr;
  if (!WaitUntil([&] { return (name = GetDlgItem(chooser, 0x47C)) != nullptr; }, kEventWait) ||
      !SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                           SMTO_NORMAL, kAnswerWait, nullptr))
    return false;
  ClickButton(chooser, IDOK);
  return WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }, kEventWait);
}

const wchar_t kHangulPhoto[] = L"PICT0104한.jpg";  // out of the test macros, which are Shift-JIS
const std::vector<std::wstring> kPhotos = {L"PICT0100.jpg", L"PICT0101.jpg", L"PICT0102.jpg",
                                           L"PICT0103.jpg", L"PICT0104.jpg", L"PICT0105.jpg"};

TEST(ConditionsNames, NamesTesselCannotHoldAndPathsPastMaxPathAreRefusedAndNothingIsRenamed) {
  RenameSettings record = DefaultRecord();
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("names", &record));
  const std::string photo = TestPhoto("camera-ii.jpg");
  std::string lookAlike = MakeSubFolder(MakeSubFolder(t.Folder, "写真"), "2011");
  // Its photos fit below MAX_PATH; Hokkaido_Sapporo_001.jpg would not.
  std::string longFolder = MakeSubFolder(t.Folder, std::string(239 - t.Folder.size(), 'L').c_str());
  const std::wstring base = Wide(t.Folder), yen = base + L"\\写真¥2011", hangul = base + L"\\hangul",
                     waveDash = base + L"\\旅行〜한국";
  std::vector<std::wstring> folders = {Wide(lookAlike), Wide(longFolder), yen, hangul, waveDash};
  for (const std::wstring& folder : folders) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const std::wstring& name : kPhotos) ASSERT_TRUE(CopyW(photo, folder, name));
  }
  ASSERT_TRUE(CopyW(photo, hangul, kHangulPhoto));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(t.Choose(dialog, JoinPath(lookAlike, "PICT0101.jpg")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1005) == "2011"; }, kEventWait));
  for (const std::wstring& chosen :
       {yen + L"\\PICT0102.jpg", hangul + L"\\" + kHangulPhoto, waveDash + L"\\PICT0103.jpg"}) {
    ASSERT_TRUE(ChooseW(t, dialog, chosen));
    Box box = t.TakeBox(dialog);
    EXPECT_EQ(box.Caption, kChoiceCaption);
    EXPECT_EQ(box.Text,
              "フォルダ名かファイル名に、Tessel で扱えない文字が含まれているため処理できません。\n"
              "（フォルダ名やファイル名を変更すれば選択できます。）");
    EXPECT_TRUE(box.Icon);
    // The accepted choice stays whole.
    EXPECT_EQ(ItemText(dialog, 1402) + ItemText(dialog, 1001) + ItemText(dialog, 1005),
              lookAlike + "1012011");
  }

  ASSERT_TRUE(t.Choose(dialog, JoinPath(longFolder, "PICT0102.jpg")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1001) == "102"; }, kEventWait));
  SetItemText(dialog, 1005, "Hokkaido");
  SetItemText(dialog, 1006, "Sapporo");
  ASSERT_NO_FATAL_FAILURE(t.ExpectRefusal(
      dialog, "フォルダとファイル名を合わせた長さが、Windows で扱える長さを超えています。  ", 1005));
  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  EXPECT_TRUE(ExistsW(hangul + L"\\" + kHangulPhoto));
  for (const std::wstring& folder : folders) {
    for (const std::wstring& name : kPhotos) EXPECT_TRUE(ExistsW(folder + L"\\" + name)) << "renamed";
  }
}

// T¥app holds Tessel and Perch. Its ANSI name by best fit is T\app, a folder
// beside it whose Tessel.ini and Perch.inf give another window place and title.
TEST(ConditionsNames, TesselAndPerchInAFolderWithoutAnExactNameReadAndWriteNothing) {
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("yen", nullptr));
  std::string lookAlike = MakeSubFolder(MakeSubFolder(t.Folder, "T"), "app");
  RenameSettings decoy = DefaultRecord();
  decoy.WindowLeft = 321;
  std::string inf = "[実行ファイル名]\r\nTessel.exe\r\n[タイトル]\r\nDecoy\r\n";
  ASSERT_TRUE(WriteFileBytes(JoinPath(lookAlike, "Tessel.ini"), &decoy, sizeof decoy));
  ASSERT_TRUE(WriteFileBytes(JoinPath(lookAlike, "Perch.inf"), inf.data(), inf.size()));
  const std::wstring yen = Wide(t.Folder) + L"\\T¥app";
  CreateDirectoryW(yen.c_str(), nullptr);
  for (const char* exe : {"Tessel.exe", "Perch.exe"})
    ASSERT_TRUE(CopyW(JoinPath(BinFolder(), exe), yen, Wide(exe)));
  ASSERT_TRUE(CopyW(JoinPath(lookAlike, "Perch.inf"), yen, L"Perch.inf"));

  ASSERT_TRUE(StartW(t.Run, yen + L"\\Tessel.exe"));
  ASSERT_NE(t.Main = WaitForRunningWindow(t.Pid(), "TesselClass", kEventWait), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ListRowCount(Child(t.Main, 2)) > 0; }, kEventWait));
  EXPECT_EQ(WindowRect(t.Main).left, 200);  // the defaults, not the look-alike's 321
  PostCommand(t.Main, 123);
  Box box = t.TakeBox(t.Main);
  EXPECT_EQ(box.Caption, "設定");
  EXPECT_EQ(box.Text,
            "フォルダ名に Tessel で扱えない文字が含まれているため、設定ファイル（Tessel.ini）は"
            "読み込まず、今回の設定も保存しませんでした\n"
            "（フォルダを移動するか、フォルダ名を変更してください）");
  ASSERT_TRUE(WaitForExit(t.Run, kEventWait, nullptr));

  struct Ends : Program {
    ~Ends() { EndProgram(*this); }
  } perch;
  ASSERT_TRUE(StartW(perch, yen + L"\\Perch.exe"));
  MessageBoxSeen seen;
  ASSERT_TRUE(WaitForMessageBox(perch.Process.dwProcessId, kEventWait, seen));
  EXPECT_EQ(seen.Caption, "セットアップ");
  EXPECT_EQ(seen.Text,
            "フォルダ名に Perch で扱えない文字が含まれているため、セットアップを中止します。\n"
            "フォルダを移動するか、フォルダ名を変更してください。");
  HWND window = FindTopWindow(perch.Process.dwProcessId, "PerchClass");
  EXPECT_TRUE(window == nullptr || !IsWindowVisible(window));  // it never shows
  AnswerMessageBox(seen, IDOK);
  EXPECT_TRUE(WaitForExit(perch, kEventWait, nullptr));
  std::vector<unsigned char> ini;
  ASSERT_TRUE(ReadFileBytes(JoinPath(lookAlike, "Tessel.ini"), ini));
  EXPECT_TRUE(SameBytes(ini, RecordBytes(decoy)));
  EXPECT_FALSE(ExistsW(yen + L"\\Tessel.ini"));
}

}  // namespace
