// Names that code page 932 cannot hold, chosen through the real file chooser
// of Tessel.exe: a folder whose yen sign best fit would turn into a
// backslash (beside the folder that it would then name), a file with a
// Hangul letter, a folder with the wave dash of a Mac; and a run whose new
// names would take its paths past MAX_PATH. Each is refused with a box, the
// dialog keeps its accepted choice, and no file anywhere is renamed.
#include "e2e/conditions_fixture.h"
#include "e2e/wide_names.h"

using namespace conditions_e2e;

namespace {

const char kNameRefusal[] =
    "フォルダ名かファイル名に、Tessel で扱えない文字が含まれているため処理できません。\n"
    "（フォルダ名やファイル名を変更すれば選択できます。）";
const char kPathRefusal[] =
    "フォルダとファイル名を合わせた長さが、Windows で扱える長さを超えています。  ";

// Outside the test macros, which spell their arguments out in Shift-JIS.
const wchar_t kHangulPhoto[] = L"PICT0104한.jpg";
const std::vector<std::wstring> kSixPhotos = {L"PICT0100.jpg", L"PICT0101.jpg", L"PICT0102.jpg",
                                              L"PICT0103.jpg", L"PICT0104.jpg", L"PICT0105.jpg"};

TEST(ConditionsNames, NamesTesselCannotHoldAndPathsPastMaxPathAreRefusedAndNothingIsRenamed) {
  RenameSettings record = DefaultRecord();
  record.ShowConfirmation = '0';
  TesselRun t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("names", &record));
  const std::string photo = TestPhoto("camera-ii.jpg");
  const std::wstring base = Wide(t.Folder);
  // 写真\2011 and, beside it, 写真¥2011, which best fit names 写真\2011.
  const std::wstring lookAlike = JoinWide(JoinWide(base, L"写真"), L"2011");
  const std::wstring yen = JoinWide(base, L"写真¥2011");
  const std::wstring hangul = JoinWide(base, L"hangul");
  const std::wstring waveDash = JoinWide(base, L"旅行〜한국");
  ASSERT_TRUE(MakeFolderW(JoinWide(base, L"写真")));
  for (const std::wstring* folder : {&lookAlike, &yen, &hangul, &waveDash}) {
    ASSERT_TRUE(MakeFolderW(*folder));
    ASSERT_TRUE(MakeNumberedFilesW(*folder, L"PICT", 4, 100, 105, L".jpg", photo));
  }
  ASSERT_TRUE(CopyToW(photo, JoinWide(hangul, kHangulPhoto)));
  // A folder of 240 characters: its photos fit, their new names would not.
  std::wstring longFolder = base;
  while (longFolder.size() < 240) {
    size_t take = 240 - longFolder.size() - 1;  // a backslash and the folder's name
    if (take > 60) take = take == 61 ? 59 : 60;
    longFolder = JoinWide(longFolder, std::wstring(take, L'L'));
    ASSERT_TRUE(MakeFolderW(longFolder));
  }
  ASSERT_EQ(longFolder.size(), 240u);
  ASSERT_TRUE(MakeNumberedFilesW(longFolder, L"PICT", 4, 100, 105, L".jpg", photo));
  ASSERT_NO_FATAL_FAILURE(t.Start());

  HWND dialog = t.OpenConditions();
  ASSERT_NE(dialog, nullptr);
  std::string lookAlikeAnsi = JoinPath(JoinPath(t.Folder, "写真"), "2011");
  ASSERT_TRUE(t.Choose(dialog, JoinPath(lookAlikeAnsi, "PICT0101.jpg")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1005) == "2011"; }, 10000));
  ASSERT_EQ(ItemText(dialog, 1001), "101");

  struct Unheld {
    const char* Name;
    std::wstring Path;
  } unheld[] = {
      {"yen sign beside its look-alike", JoinWide(yen, L"PICT0102.jpg")},
      {"a file with a Hangul letter", JoinWide(hangul, kHangulPhoto)},
      {"a folder with the wave dash and Hangul", JoinWide(waveDash, L"PICT0103.jpg")},
  };
  for (const Unheld& u : unheld) {
    SCOPED_TRACE(u.Name);
    ClickButton(dialog, 1425);
    ASSERT_TRUE(ChooseFileInOpenDialogW(t.Pid(), kChooserCaption, u.Path, 10000));
    Box box = t.TakeBox(dialog);
    EXPECT_EQ(box.Caption, kChoiceCaption);
    EXPECT_EQ(box.Text, kNameRefusal);
    EXPECT_TRUE(box.Icon);
    // The accepted choice stays whole.
    EXPECT_EQ(ItemText(dialog, 1402), lookAlikeAnsi);
    EXPECT_EQ(ItemText(dialog, 1403), "PICT");
    EXPECT_EQ(ItemText(dialog, 1001), "101");
    EXPECT_EQ(ItemText(dialog, 1005), "2011");
  }

  // Hokkaido_Sapporo_001.jpg would take the paths to 265 characters.
  std::string longAnsi = t.Folder + std::string(longFolder.begin() + base.size(), longFolder.end());
  ASSERT_TRUE(t.Choose(dialog, JoinPath(longAnsi, "PICT0102.jpg")));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(dialog, 1001) == "102"; }, 10000));
  SetItemText(dialog, 1005, "Hokkaido");
  SetItemText(dialog, 1006, "Sapporo");
  ASSERT_NO_FATAL_FAILURE(t.ExpectRefusal(dialog, kPathRefusal, 1005));

  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
  EXPECT_EQ(FolderNamesW(lookAlike), kSixPhotos);
  EXPECT_EQ(FolderNamesW(yen), kSixPhotos);
  EXPECT_EQ(FolderNamesW(waveDash), kSixPhotos);
  EXPECT_EQ(FolderNamesW(longFolder), kSixPhotos);
  std::vector<std::wstring> withHangul = kSixPhotos;
  withHangul.insert(withHangul.begin() + 5, kHangulPhoto);
  EXPECT_EQ(FolderNamesW(hangul), withHangul);
}

}  // namespace
