#include "shell/help_dialogs.h"

#include <shellapi.h>

#include "resources/tessel_resource.h"
#include "common/bounded_text.h"

// The home page of Sundial Note, the maker's program for photo slide shows
// and thumbnail lists. Shown after two spaces in a 160-byte line.
const char HomePageAddress[] = "https://tessel-photo.example.org/sundial-note/";
static_assert(sizeof HomePageAddress - 1 <= 157, "the address line holds 157 bytes");

namespace {

// None of the three handles IDCANCEL: Esc leaves them open, and they close
// only through their buttons.

INT_PTR CALLBACK HelpDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    EndDialog(dialog, 1);
    return TRUE;
  }
  return FALSE;
}

void OpenHomePage() {
  // Whether a browser could be started is not the dialog's concern.
  ShellExecuteA(nullptr, nullptr, HomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR CALLBACK HomePageDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      char line[160];
      FormatText(line, "  %s", HomePageAddress);
      SetDlgItemTextA(dialog, IDC_HOMEPAGE_ADDRESS, line);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          EndDialog(dialog, 1);
          return TRUE;
        case IDC_HOMEPAGE_GO:
          OpenHomePage();
          EndDialog(dialog, 2);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK VersionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// The templates live in the executable itself.
HINSTANCE TemplateInstance() { return GetModuleHandleA(nullptr); }

}  // namespace

void ShowHelpDialog(HWND owner) {
  DialogBoxParamA(TemplateInstance(), MAKEINTRESOURCEA(IDD_HELP), owner, HelpDialog, 0);
}

void ShowHomePageDialog(HWND owner) {
  DialogBoxParamA(TemplateInstance(), MAKEINTRESOURCEA(IDD_HOMEPAGE), owner, HomePageDialog, 0);
}

void ShowVersionDialog(HWND owner) {
  DialogBoxParamA(TemplateInstance(), MAKEINTRESOURCEA(IDD_VERSION), owner, VersionDialog, 0);
}
