#include "conditions/sub_dialogs.h"

#include <commctrl.h>

#include "conditions/dialog_state.h"
#include "resources/tessel_resource.h"
#include "shell/app_state.h"
#include "common/bounded_text.h"
#include "shell/settings_record.h"

namespace {

// --- Capture-date layout (102) ----------------------------------------------

void OnDateLayoutOk(HWND dialog) {
  int n = 0;
  while (n < 5 && IsDlgButtonChecked(dialog, IDC_DATE_LAYOUT_FIRST + n) != BST_CHECKED) ++n;
  DialogState.CurrentDatePosition = n;
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK DateLayoutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      // The layout comes from the settings file, which may hold any number;
      // one outside 0..4 selects no row (and must not overflow the id).
      int position = DialogState.CurrentDatePosition;
      int row = (position >= 0 && position <= 4) ? IDC_DATE_LAYOUT_FIRST + position : 0;
      CheckRadioButton(dialog, IDC_DATE_LAYOUT_FIRST, IDC_DATE_LAYOUT_LAST, row);
      return FALSE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (id >= IDC_DATE_LAYOUT_FIRST && id <= IDC_DATE_LAYOUT_LAST) {
        CheckRadioButton(dialog, IDC_DATE_LAYOUT_FIRST, IDC_DATE_LAYOUT_LAST, id);
      } else if (id == IDOK) {
        OnDateLayoutOk(dialog);
      } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// --- History picker (103) ----------------------------------------------------

// The picker's image list, from its opening to its end.
HIMAGELIST PickerImages = nullptr;

// The list would destroy its own image list when it goes; it lets go of it
// first, so the picker frees it exactly once.
void ReleasePickerImages(HWND dialog) {
  if (PickerImages == nullptr) return;
  SendDlgItemMessageA(dialog, IDC_HISTORY_LIST, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  ImageList_Destroy(PickerImages);
  PickerImages = nullptr;
}

BOOL OnHistoryInit(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_HISTORY_LIST);
  // The one white image, transparent under its mask, makes every row at
  // least 17 pixels high.
  PickerImages = ImageList_LoadImageA(App.Instance, MAKEINTRESOURCEA(IDB_HISTORY_ROW), 2, 2,
                                      CLR_DEFAULT, IMAGE_BITMAP, 0);
  LRESULT style = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               style | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(PickerImages));

  RECT client = {};
  GetClientRect(list, &client);
  char heading[1] = "";
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = client.right - client.left;
  column.pszText = heading;
  column.iSubItem = 0;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

  const char(*history)[kHistoryWidth] =
      DialogState.HistoryTarget == 0 ? Settings.Part1History : Settings.Part2History;
  // Newest first, up to the first empty entry.
  for (int i = 0; i < kHistorySlots && history[i][0] != '\0'; ++i) {
    char text[kHistoryWidth + 1];
    CopyText(text, history[i]);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  return TRUE;
}

// A single click on a row picks it; a click beside the rows picks nothing.
INT_PTR OnHistoryClick(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_HISTORY_LIST);
  LRESULT count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
  LRESULT selected = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (selected < 0 || selected >= count) return FALSE;
  LVITEMA item = {};
  item.iSubItem = 0;
  item.pszText = ExchangeText;
  item.cchTextMax = sizeof ExchangeText;
  ExchangeText[0] = '\0';
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(selected),
               reinterpret_cast<LPARAM>(&item));
  ReleasePickerImages(dialog);
  EndDialog(dialog, 1);
  return TRUE;
}

INT_PTR CALLBACK HistoryPickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnHistoryInit(dialog);
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_HISTORY_LIST && header->code == static_cast<UINT>(NM_CLICK))
        return OnHistoryClick(dialog);
      return FALSE;
    }
    case WM_COMMAND:
      // No OK button: Enter picks nothing; a row is picked only by a click.
      if (LOWORD(wParam) == IDCANCEL) {
        ReleasePickerImages(dialog);
        EndDialog(dialog, 0);
      }
      return TRUE;
    case WM_DESTROY:
      ReleasePickerImages(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

// --- Confirmation (105) ------------------------------------------------------

void OnConfirmationInit(HWND dialog) {
  const char* name = ExchangeText[0] != '\0' ? ExchangeText + 1 : ExchangeText;
  SetDlgItemTextA(dialog, IDC_CONFIRM_NAME, name);
  SetDlgItemTextA(dialog, IDC_CONFIRM_TAIL, ExchangeText[0] == '1' ? "から始まります。" : "です。");
}

INT_PTR CALLBACK ConfirmationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnConfirmationInit(dialog);
      return FALSE;
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_CONFIRM_NAME) {
        SetBkColor(reinterpret_cast<HDC>(wParam), App.FieldColour);
        return reinterpret_cast<INT_PTR>(App.FieldBrush);
      }
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunDateLayoutDialog(HWND owner) {
  return DialogBoxParamA(App.Instance, MAKEINTRESOURCEA(IDD_DATE_LAYOUT), owner,
                         DateLayoutDialogProc, 0);
}

INT_PTR RunHistoryPicker(HWND owner) {
  return DialogBoxParamA(App.Instance, MAKEINTRESOURCEA(IDD_HISTORY), owner, HistoryPickerProc, 0);
}

INT_PTR RunConfirmationDialog(HWND owner) {
  return DialogBoxParamA(App.Instance, MAKEINTRESOURCEA(IDD_CONFIRM), owner,
                         ConfirmationDialogProc, 0);
}
