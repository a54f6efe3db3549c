#include "conditions/conditions_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstddef>
#include <cstring>

#include "conditions/commit_rules.h"
#include "conditions/dialog_state.h"
#include "conditions/source_choice.h"
#include "conditions/source_scan.h"
#include "conditions/sub_dialogs.h"
#include "conditions/text_rules.h"
#include "common/ansi_names.h"
#include "photo/capture_date.h"
#include "photo/preview_pane.h"
#include "resources/tessel_resource.h"
#include "shell/app_state.h"
#include "common/bounded_text.h"
#include "shell/settings_record.h"

namespace {

// The chooser takes the record without the members added for Windows 2000,
// which is 76 bytes in the shipped 32-bit program, in either form.
const DWORD kChooserRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
const DWORD kWideChooserRecordSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
#if !defined(_WIN64)
static_assert(kChooserRecordSize == 76, "the classic OPENFILENAMEA record");
static_assert(kWideChooserRecordSize == 76, "the classic OPENFILENAMEW record");
#endif

typedef BOOL(WINAPI* OpenFileNameW)(LPOPENFILENAMEW);
typedef BOOL(WINAPI* SpecialFolderPathA)(HWND, LPSTR, int, BOOL);

const char kNoCaptureDate[] = "撮影日は不明です。  ";
const char kChooserTitle[] = "ファイルの選択";
const char kChooserFilter[] = "写真ファイル(*.jpg)|*.jpg|全てのファイル(*.*)|*.*|";

void SetItemNumber(HWND dialog, int id, int value) {
  char text[16];
  FormatText(text, "%d", value);
  SetDlgItemTextA(dialog, id, text);
}

void SetItemFont(HWND dialog, int id, HFONT font) {
  SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void EnableItem(HWND dialog, int id, bool enable) {
  EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

void DeletePreviewBitmap() {
  if (DialogState.PreviewBitmap != nullptr) {
    DeleteObject(DialogState.PreviewBitmap);
    DialogState.PreviewBitmap = nullptr;
  }
}

// --- Opening -----------------------------------------------------------------

BOOL OnInitDialog(HWND dialog) {
  const int buttons[] = {IDC_BROWSE, IDOK, IDCANCEL};
  for (int id : buttons) SetItemFont(dialog, id, App.ButtonFont);
  const int numbers[] = {IDC_SOURCE_DIGITS, IDC_START_NUMBER, IDC_END_NUMBER, IDC_SERIAL_DIGITS,
                         IDC_SERIAL_START};
  for (int id : numbers) SetItemFont(dialog, id, App.NumberFont);

  const RenameSettings& s = Settings;
  DialogState.CurrentDatePosition = s.DatePosition;
  CopyText(DialogState.CurrentFolder, s.SourceFolder);
  PathSetDlgItemPathA(dialog, IDC_FOLDER, DialogState.CurrentFolder);

  SetDlgItemTextA(dialog, IDC_COMMON_PART, s.SourceCommonPart);
  SetItemNumber(dialog, IDC_SOURCE_DIGITS, s.SourceDigits);
  SetDlgItemTextA(dialog, IDC_EXTENSION, s.SourceExtension);
  SetItemNumber(dialog, IDC_START_NUMBER, s.SourceFirst);
  SetItemNumber(dialog, IDC_END_NUMBER, s.SourceLast);
  SetDlgItemTextA(dialog, IDC_NAME_PART1, s.NamePart1);
  SetDlgItemTextA(dialog, IDC_NAME_PART2, s.NamePart2);
  // The record keeps 39 bytes of each part; longer pasted texts are refused
  // by the commit.
  SendDlgItemMessageA(dialog, IDC_NAME_PART1, EM_LIMITTEXT, kNamePartMax, 0);
  SendDlgItemMessageA(dialog, IDC_NAME_PART2, EM_LIMITTEXT, kNamePartMax, 0);
  SetItemNumber(dialog, IDC_SERIAL_DIGITS, s.SerialDigits);
  SendDlgItemMessageA(dialog, IDC_SERIAL_SPIN, UDM_SETRANGE, 0, MAKELPARAM(9, 0));
  SetItemNumber(dialog, IDC_SERIAL_START, s.SerialStart);
  SetDlgItemTextA(dialog, IDC_LOWEST_HINT, "");
  SetDlgItemTextA(dialog, IDC_HIGHEST_HINT, "");

  CheckRadioButton(dialog, IDC_STEP_ONE, IDC_STEP_TEN, s.SerialStep == 1 ? IDC_STEP_ONE : IDC_STEP_TEN);
  // A kind outside 0..2 selects none of the three, and the commit then
  // stores 3, which names the same "_" as before.
  int separator = (s.SeparatorKind >= 0 && s.SeparatorKind <= 2)
                      ? IDC_SEPARATOR_UNDERSCORE + s.SeparatorKind
                      : 0;
  CheckRadioButton(dialog, IDC_SEPARATOR_UNDERSCORE, IDC_SEPARATOR_NONE, separator);
  CheckRadioButton(dialog, IDC_AUTO_DATE_YES, IDC_AUTO_DATE_NO,
                   s.AutoDate != 0 ? IDC_AUTO_DATE_YES : IDC_AUTO_DATE_NO);
  EnableItem(dialog, IDC_AUTO_DATE_DETAILS, s.AutoDate != 0);
  CheckDlgButton(dialog, IDC_SHOW_CONFIRMATION,
                 s.ShowConfirmation != '0' ? BST_CHECKED : BST_UNCHECKED);

  // A file must be chosen at every opening before anything can be committed.
  EnableItem(dialog, IDOK, false);

  HWND pane = GetDlgItem(dialog, IDC_PREVIEW);
  PreviousPaneProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviewPaneProc)));

  SetFocus(GetDlgItem(dialog, IDC_FOLDER));
  DialogState.PreviewBitmap = nullptr;
  return FALSE;
}

// --- Choosing the source file (1425) ----------------------------------------

void InitialFolder(char (&folder)[kSourceFolderSize]) {
  if (DialogState.CurrentFolder[0] != '\0') {
    CopyText(folder, DialogState.CurrentFolder);
    return;
  }
  // Windows 95 and NT 4.0 have the call only with Internet Explorer 4.0's
  // desktop update, so it is looked up rather than imported. The folder only
  // places the chooser: whatever it names, the choice is checked.
  HMODULE shell = GetModuleHandleA("shell32.dll");
  SpecialFolderPathA specialFolderPath =
      shell == nullptr ? nullptr
                       : reinterpret_cast<SpecialFolderPathA>(reinterpret_cast<void*>(
                             GetProcAddress(shell, "SHGetSpecialFolderPathA")));
  char documents[MAX_PATH + 1] = "";
  if (specialFolderPath != nullptr &&
      specialFolderPath(nullptr, documents, CSIDL_PERSONAL, FALSE) == TRUE) {
    CopyText(folder, documents);
  } else {
    CopyText(folder, App.ModuleDirectory);
  }
}

// Shows the number range of an accepted choice: the folder scan for a
// numbered name, or empty and disabled fields for a name without number.
void ShowSourceRange(HWND dialog, const SourceChoice& choice) {
  if (choice.Digits == 0) {
    const int cleared[] = {IDC_START_NUMBER, IDC_END_NUMBER, IDC_LOWEST_HINT, IDC_HIGHEST_HINT};
    for (int id : cleared) SetDlgItemTextA(dialog, id, "");
    EnableItem(dialog, IDC_START_NUMBER, false);
    EnableItem(dialog, IDC_END_NUMBER, false);
    return;
  }
  char extension[241] = "";
  GetDlgItemTextA(dialog, IDC_EXTENSION, extension, sizeof extension);
  SourceRange range = ScanSourceRange(DialogState.CurrentFolder, choice.CommonPart, extension,
                                      choice.ExpectedLength, choice.Digits, choice.StartNumber);
  SetItemNumber(dialog, IDC_END_NUMBER, range.Highest);
  char hint[kRangeHintSize];
  FormatLowestHint(hint, range.Lowest);
  SetDlgItemTextA(dialog, IDC_LOWEST_HINT, hint);
  FormatHighestHint(hint, range.Highest);
  SetDlgItemTextA(dialog, IDC_HIGHEST_HINT, hint);
  EnableItem(dialog, IDC_START_NUMBER, true);
  EnableItem(dialog, IDC_END_NUMBER, true);
}

// What a press of the browse button came to.
enum ChoiceOutcome { kNothingChosen, kChoseOtherFile, kChosePhoto };

// What the chooser gave: nothing (cancelled or failed), a path, or a name
// that the code page cannot hold.
enum ChooserAnswer { kChooserClosed, kChooserChose, kChooserNameNotHeld, kChooserNameTooLong };

const DWORD kChooserFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOTESTFILECREATE;

// Windows 95, 98 and Me: the ANSI chooser, whose names are the ANSI ones.
ChooserAnswer RunAnsiChooser(HWND dialog, char (&path)[kSourceFolderSize], const char* filter,
                             const char* initialFolder) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = kChooserRecordSize;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrInitialDir = initialFolder;
  ofn.lpstrTitle = kChooserTitle;
  ofn.Flags = kChooserFlags;
  return GetOpenFileNameA(&ofn) == TRUE ? kChooserChose : kChooserClosed;
}

// Windows NT and later: the Unicode chooser, the same in every other way, so
// that the true name comes back and its ANSI form can be checked. The call
// is looked up, so that the program still loads on Windows 95.
ChooserAnswer RunWideChooser(HWND dialog, char (&path)[kSourceFolderSize], const char* filter,
                             int filterSize, const char* initialFolder) {
  HMODULE comdlg = GetModuleHandleA("comdlg32.dll");
  OpenFileNameW openFileName =
      comdlg == nullptr ? nullptr
                        : reinterpret_cast<OpenFileNameW>(reinterpret_cast<void*>(
                              GetProcAddress(comdlg, "GetOpenFileNameW")));
  if (openFileName == nullptr) return kChooserClosed;
  WCHAR wideFilter[sizeof kChooserFilter];
  WCHAR wideFolder[kSourceFolderSize];
  WCHAR wideTitle[sizeof kChooserTitle];
  WCHAR widePath[kSourceFolderSize];
  if (MultiByteToWideChar(CP_ACP, 0, filter, filterSize, wideFilter, sizeof kChooserFilter) == 0 ||
      MultiByteToWideChar(CP_ACP, 0, kChooserTitle, -1, wideTitle, sizeof kChooserTitle) == 0) {
    return kChooserClosed;
  }
  if (MultiByteToWideChar(CP_ACP, 0, initialFolder, -1, wideFolder, kSourceFolderSize) == 0)
    wideFolder[0] = L'\0';
  widePath[0] = L'\0';
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = kWideChooserRecordSize;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = wideFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = widePath;
  ofn.nMaxFile = kSourceFolderSize;
  ofn.lpstrInitialDir = wideFolder;
  ofn.lpstrTitle = wideTitle;
  ofn.Flags = kChooserFlags;
  if (openFileName(&ofn) != TRUE) return kChooserClosed;
  widePath[kSourceFolderSize - 1] = L'\0';
  switch (HoldWideName(path, sizeof path, widePath)) {
    case kNameHeld:
      return kChooserChose;
    case kNameTooLong:
      return kChooserNameTooLong;
    case kNameNotHeld:
    default:
      return kChooserNameNotHeld;
  }
}

// Runs the file chooser and shows what the chosen name says about its run.
// A refused choice only says why: the dialog goes on showing, and would
// commit, one whole job, that of the last accepted choice. For an accepted
// photo, path holds it.
ChoiceOutcome ChooseSourceFile(HWND dialog, char (&path)[kSourceFolderSize]) {
  char initialFolder[kSourceFolderSize];
  InitialFolder(initialFolder);
  char filter[sizeof kChooserFilter];
  std::memcpy(filter, kChooserFilter, sizeof filter);
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  path[0] = '\0';
  // Decided before anything opens; a chooser that gives nothing is never a
  // reason to open the other one.
  bool nt = RunsOnNt();
  ChooserAnswer answer = nt ? RunWideChooser(dialog, path, filter, sizeof filter, initialFolder)
                            : RunAnsiChooser(dialog, path, filter, initialFolder);
  if (answer == kChooserClosed) return kNothingChosen;

  SourceChoice choice;
  if (answer == kChooserChose) {
    AnalyseSourceChoice(choice, path, nt);
  } else {
    RefuseUnheldSourceName(choice, answer == kChooserNameTooLong);
  }
  if (choice.Refusal != kSourceAccepted) {
    MessageBoxA(dialog, choice.RefusalText, kSourceRefusalCaption, MB_OK | MB_ICONERROR);
    return kNothingChosen;
  }

  SetDlgItemTextA(dialog, IDC_EXTENSION, choice.Extension);
  CopyText(DialogState.CurrentFolder, choice.Folder);
  PathSetDlgItemPathA(dialog, IDC_FOLDER, DialogState.CurrentFolder);
  SetItemNumber(dialog, IDC_START_NUMBER, choice.StartNumber);
  EnableItem(dialog, IDOK, true);
  SetDlgItemTextA(dialog, IDC_NAME_PART1, "");
  SetDlgItemTextA(dialog, IDC_NAME_PART2, "");
  SetDlgItemTextA(dialog, IDC_COMMON_PART, choice.CommonPart);
  SetItemNumber(dialog, IDC_SOURCE_DIGITS, choice.Digits);
  ShowSourceRange(dialog, choice);
  DialogState.AutoSetPart1[0] = '\0';
  DialogState.AutoSetPart2[0] = '\0';

  char extension[kSourceExtensionTextSize] = "";
  GetDlgItemTextA(dialog, IDC_EXTENSION, extension, sizeof extension);
  return EqualsIgnoringAsciiCase(extension, ".jpg") ? kChosePhoto : kChoseOtherFile;
}

// The preview, then the capture date into the name parts as the current
// layout directs.
void RunPhotoSteps(HWND dialog, const char* path) {
  int naturalWidth = 0;
  int naturalHeight = 0;
  if (LoadPreviewPicture(dialog, path, &DialogState.PreviewBitmap, PaneWidth, PaneHeight,
                         &naturalWidth, &naturalHeight) == 1) {
    InvalidateRect(GetDlgItem(dialog, IDC_PREVIEW), nullptr, TRUE);
  }
  if (IsChecked(dialog, IDC_AUTO_DATE_NO)) return;

  char date[16] = "";
  if (ReadCaptureDate(path, date) != 1) {
    MessageBoxA(dialog, kNoCaptureDate, kSourceRefusalCaption, MB_OK);
    return;
  }
  DatePlacement placement = PlaceCaptureDate(date, DialogState.CurrentDatePosition);
  if (placement.SetsPart1) {
    SetDlgItemTextA(dialog, IDC_NAME_PART1, placement.Part1);
    CopyText(DialogState.AutoSetPart1, placement.Part1);
  }
  if (placement.SetsPart2) {
    SetDlgItemTextA(dialog, IDC_NAME_PART2, placement.Part2);
    CopyText(DialogState.AutoSetPart2, placement.Part2);
  }
  SetFocus(GetDlgItem(dialog, IDC_NAME_PART1));
}

void OnBrowse(HWND dialog) {
  char path[kSourceFolderSize];
  ChoiceOutcome outcome = ChooseSourceFile(dialog, path);
  if (outcome == kNothingChosen) return;
  // The pane shows the chosen file's picture or nothing, never the picture
  // of an earlier choice: it is emptied before the new file's picture is
  // made, and stays empty for a file that is not a photo or cannot be shown.
  if (DialogState.PreviewBitmap != nullptr) {
    DeletePreviewBitmap();
    InvalidateRect(GetDlgItem(dialog, IDC_PREVIEW), nullptr, TRUE);
  }
  if (outcome == kChosePhoto) RunPhotoSteps(dialog, path);
}

// --- History buttons (1427, 1428) -----------------------------------------

void OnHistory(HWND dialog, int target) {
  DialogState.HistoryTarget = target;
  if (RunHistoryPicker(dialog) == 1)
    SetDlgItemTextA(dialog, target == 0 ? IDC_NAME_PART1 : IDC_NAME_PART2, ExchangeText);
}

// --- Commit (1) --------------------------------------------------------------

void ReadText(HWND dialog, int id, char (&text)[kFieldTextSize]) {
  text[0] = '\0';
  GetDlgItemTextA(dialog, id, text, sizeof text);
}

void ReadCommitFields(HWND dialog, CommitFields& f) {
  std::memset(&f, 0, sizeof f);
  f.RenameRunning = GetRenameState() == kRenameRunning;
  CopyText(f.Folder, DialogState.CurrentFolder);
  // Asked before the checks only when nothing runs: a running job refuses
  // the commit before anything else is looked at.
  if (!f.RenameRunning) {
    char root[4] = "";
    std::memcpy(root, f.Folder, 3);
    root[3] = '\0';
    f.FolderIsCdRom = GetDriveTypeA(root) == DRIVE_CDROM;
    char folder[sizeof f.Folder];
    CopyText(folder, f.Folder);
    StripTrailingBackslash(folder);
    DWORD attributes = GetFileAttributesA(folder);
    f.FolderExists = attributes != INVALID_FILE_ATTRIBUTES;
    f.FolderIsDirectory = f.FolderExists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  ReadText(dialog, IDC_COMMON_PART, f.CommonPart);
  ReadText(dialog, IDC_SOURCE_DIGITS, f.SourceDigits);
  ReadText(dialog, IDC_EXTENSION, f.Extension);
  ReadText(dialog, IDC_START_NUMBER, f.StartNumber);
  ReadText(dialog, IDC_END_NUMBER, f.EndNumber);
  ReadText(dialog, IDC_NAME_PART1, f.Part1);
  ReadText(dialog, IDC_NAME_PART2, f.Part2);
  ReadText(dialog, IDC_SERIAL_DIGITS, f.SerialDigits);
  ReadText(dialog, IDC_SERIAL_START, f.SerialStart);
  f.StepOne = IsChecked(dialog, IDC_STEP_ONE);
  f.SeparatorIndex = 0;
  while (f.SeparatorIndex < 3 && !IsChecked(dialog, IDC_SEPARATOR_UNDERSCORE + f.SeparatorIndex))
    ++f.SeparatorIndex;
  f.ConfirmationTicked = IsChecked(dialog, IDC_SHOW_CONFIRMATION);
  f.AutoDate = IsChecked(dialog, IDC_AUTO_DATE_YES);
  f.DatePosition = DialogState.CurrentDatePosition;
  f.CountsCharacters = RunsOnNt();
}

void OnCommit(HWND dialog) {
  // OK is enabled by the first accepted choice; before it there is nothing
  // to commit, whoever sends the command.
  if (!IsWindowEnabled(GetDlgItem(dialog, IDOK))) return;
  CommitFields fields;
  ReadCommitFields(dialog, fields);
  // The working copy is taken afresh at every press.
  RenameSettings w = Settings;
  CommitRefusal refusal;
  if (!CheckCommitFields(fields, w, refusal)) {
    MessageBoxA(dialog, refusal.Message, kCommitRefusalCaption, MB_OK | MB_ICONERROR);
    if (refusal.Focus != kFocusUnchanged) SetFocus(GetDlgItem(dialog, refusal.Focus));
    return;
  }
  if (fields.ConfirmationTicked) {
    ComposeConfirmationText(ExchangeText, w);
    if (RunConfirmationDialog(dialog) != 1) return;
  }
  CompleteCommit(w, fields, DialogState.AutoSetPart1, DialogState.AutoSetPart2);
  Settings = w;
  DeletePreviewBitmap();
  EndDialog(dialog, 1);
}

void OnCancel(HWND dialog) {
  DeletePreviewBitmap();
  EndDialog(dialog, 0);
}

// --- Procedure ---------------------------------------------------------------

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_SEPARATOR_UNDERSCORE:
    case IDC_SEPARATOR_HYPHEN:
    case IDC_SEPARATOR_NONE:
      CheckRadioButton(dialog, IDC_SEPARATOR_UNDERSCORE, IDC_SEPARATOR_NONE, id);
      break;
    case IDC_STEP_ONE:
    case IDC_STEP_TEN:
      CheckRadioButton(dialog, IDC_STEP_ONE, IDC_STEP_TEN, id);
      break;
    case IDC_AUTO_DATE_YES:
    case IDC_AUTO_DATE_NO:
      CheckRadioButton(dialog, IDC_AUTO_DATE_YES, IDC_AUTO_DATE_NO, id);
      EnableItem(dialog, IDC_AUTO_DATE_DETAILS, id == IDC_AUTO_DATE_YES);
      break;
    case IDC_BROWSE:
      OnBrowse(dialog);
      break;
    case IDC_AUTO_DATE_DETAILS:
      RunDateLayoutDialog(dialog);
      break;
    case IDC_PART1_HISTORY:
      OnHistory(dialog, 0);
      break;
    case IDC_PART2_HISTORY:
      OnHistory(dialog, 1);
      break;
    case IDC_SHOW_CONFIRMATION:
      CheckDlgButton(dialog, IDC_SHOW_CONFIRMATION,
                     IsChecked(dialog, IDC_SHOW_CONFIRMATION) ? BST_UNCHECKED : BST_CHECKED);
      break;
    case IDOK:
      OnCommit(dialog);
      break;
    case IDCANCEL:
      OnCancel(dialog);
      break;
    default:
      break;
  }
}

// The four read-only value fields are pale green; everything else keeps
// the default colours.
INT_PTR OnColourStatic(HDC dc, HWND control) {
  switch (GetDlgCtrlID(control)) {
    case IDC_FOLDER:
    case IDC_COMMON_PART:
    case IDC_SOURCE_DIGITS:
    case IDC_EXTENSION:
      SetBkColor(dc, App.FieldColour);
      return reinterpret_cast<INT_PTR>(App.FieldBrush);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK ConditionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return OnColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunConditionsDialog(HWND owner) {
  return DialogBoxParamA(App.Instance, MAKEINTRESOURCEA(IDD_CONDITIONS), owner,
                         ConditionsDialogProc, 0);
}
