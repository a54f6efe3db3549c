#include "setup/perch_window.h"

#include <shellapi.h>

#include <cstring>

#include "common/ansi_names.h"
#include "common/bounded_text.h"
#include "setup/os_class.h"
#include "setup/perch_state.h"
#include "setup/registration.h"
#include "setup/setup_form.h"
#include "setup/shortcuts.h"

static_assert(kStylePushButton == BS_PUSHBUTTON, "push button style");
static_assert(kStyleCheckBox == BS_CHECKBOX, "check box style");
static_assert(kStyleRadioButton == BS_RADIOBUTTON, "radio button style");
static_assert(sizeof(OSVERSIONINFOA) == 148, "the classic version structure");

PerchState Perch;

namespace {

int ReadProfileSection(void*, const char* section, char* area, int capacity, const char* path) {
  return static_cast<int>(GetPrivateProfileSectionA(section, area, static_cast<DWORD>(capacity), path));
}

int CurrentOsKind() {
  OSVERSIONINFOA version;
  std::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 0;
  return ClassifyOs(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

enum InstructionsAnswer { kInstructionsRead, kInstructionsUnreadable, kFolderUnheld };

// The instructions, or why there are none: the folder of our own executable
// without an exact name in the code page (Windows NT), checked before any
// file is read, since its ANSI name would lead to another folder; or the
// folder unknown, no Perch.inf, or no executable named in it.
InstructionsAnswer LoadInstructions() {
  char modulePath[kPathSize] = "";
  int length = HeldModuleFileName(modulePath, kModulePathCapacity);
  if (length < 0) return kFolderUnheld;
  modulePath[kPathSize - 1] = '\0';
  if (!ToolFolderFromModulePath(Perch.ToolFolder, modulePath, length)) {
    return kInstructionsUnreadable;
  }
  return ReadInstructions(Perch.Instructions, Perch.ToolFolder, ReadProfileSection, nullptr)
             ? kInstructionsRead
             : kInstructionsUnreadable;
}

void LoadTargetIcon() {
  char targetPath[kPathSize];
  if (!ComposePath(targetPath, Perch.ToolFolder, Perch.Instructions.TargetFileName)) return;
  HICON icon = ExtractIconA(Perch.Instance, targetPath, 0);
  // ExtractIconA answers 1 for a file that is no executable at all.
  if (reinterpret_cast<UINT_PTR>(icon) > 1) Perch.TargetIcon = icon;
}

void MakeFont(HWND hwnd) {
  LOGFONTA font;
  std::memset(&font, 0, sizeof font);
  font.lfHeight = 14;
  font.lfCharSet = SHIFTJIS_CHARSET;
  CopyText(font.lfFaceName, "ＭＳ ゴシック");
  Perch.Font = CreateFontIndirectA(&font);
  Perch.CharWidth = 0;
  HDC dc = GetDC(hwnd);
  HGDIOBJ previous = SelectObject(dc, Perch.Font);
  TEXTMETRICA metrics;
  if (GetTextMetricsA(dc, &metrics)) Perch.CharWidth = metrics.tmAveCharWidth;
  SelectObject(dc, previous);
  ReleaseDC(hwnd, dc);
}

void CreateControls(HWND hwnd) {
  LayoutSetupForm(Perch.Form, Perch.CharWidth, Perch.OsKind);
  for (int slot = 1; slot < kSlotCount; ++slot) {
    ControlSlot& s = Perch.Form.Slots[slot];
    HWND control = CreateWindowExA(
        0, "button", ControlLabel(slot, Perch.OsKind),
        WS_CHILD | WS_VISIBLE | static_cast<DWORD>(s.ButtonStyle), Perch.ClientRect.left + s.X,
        Perch.ClientRect.top + s.Y, s.Width, s.Height, hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.Id)), Perch.Instance, nullptr);
    if (control == nullptr) continue;
    Perch.Controls[slot] = control;
    s.Exists = 1;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(Perch.Font), FALSE);
  }
  for (int slot = 3; slot <= 6; ++slot) {
    if (Perch.Controls[slot] == nullptr) continue;
    SendMessageA(Perch.Controls[slot], BM_SETCHECK, Perch.Form.Slots[slot].Checked ? 1 : 0, 0);
  }
  if (Perch.Controls[5] != nullptr && !Perch.Form.Slots[5].Enabled) {
    EnableWindow(Perch.Controls[5], FALSE);
  }
}

void CentreWindow(HWND hwnd) {
  int width = Perch.WindowRect.right - Perch.WindowRect.left;
  int height = Perch.WindowRect.bottom - Perch.WindowRect.top;
  Point p = CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width,
                            height);
  SetWindowPos(hwnd, nullptr, p.X, p.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnCreate(HWND hwnd) {
  std::memset(Perch.Controls, 0, sizeof Perch.Controls);
  std::memset(&Perch.Form, 0, sizeof Perch.Form);
  Perch.Window = hwnd;
  Perch.BackgroundBrush = nullptr;
  Perch.Font = nullptr;
  Perch.TargetIcon = nullptr;
  Perch.OsKind = CurrentOsKind();
  GetWindowRect(hwnd, &Perch.WindowRect);
  GetClientRect(hwnd, &Perch.ClientRect);
  Perch.Background = GetSysColor(COLOR_BTNFACE);
  Perch.BackgroundBrush = CreateSolidBrush(Perch.Background);
  SetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(Perch.BackgroundBrush));
  Perch.Instructions.TargetFileName[0] = '\0';
  Perch.Instructions.Title[0] = '\0';

  InstructionsAnswer instructions = LoadInstructions();
  if (instructions != kInstructionsRead) {
    MessageBoxA(hwnd, instructions == kFolderUnheld ? kUnheldFolder : kUnreadableInstructions,
                kSetupCaption, MB_OK | MB_ICONWARNING);
    return -1;  // the window is destroyed and the program ends
  }
  char caption[kMessageSize];
  ComposeCaption(caption, Perch.Instructions);
  SetWindowTextA(hwnd, caption);
  LoadTargetIcon();
  MakeFont(hwnd);
  InitialChoices(Perch.Choices);
  CreateControls(hwnd);
  CentreWindow(hwnd);
  return 0;
}

void DrawLine(HDC dc, const FrameLine& line) {
  MoveToEx(dc, line.FromX, line.FromY, nullptr);
  LineTo(dc, line.ToX, line.ToY);
}

// Grey on the left and top, white at the bottom and right: a frame cut into
// the face.
void DrawFrame(HDC dc) {
  FrameLine lines[4];
  EtchedFrame(lines, Perch.ClientRect.left, Perch.ClientRect.top, Perch.ClientRect.right,
              Perch.ClientRect.bottom);
  LOGPEN grey = {PS_SOLID, {1, 0}, RGB(128, 128, 128)};
  LOGPEN white = {PS_SOLID, {1, 0}, RGB(255, 255, 255)};
  HPEN greyPen = CreatePenIndirect(&grey);
  HGDIOBJ previous = SelectObject(dc, greyPen);
  DrawLine(dc, lines[0]);
  DrawLine(dc, lines[1]);
  HPEN whitePen = CreatePenIndirect(&white);
  SelectObject(dc, whitePen);
  if (greyPen != nullptr) DeleteObject(greyPen);
  DrawLine(dc, lines[2]);
  DrawLine(dc, lines[3]);
  SelectObject(dc, previous);
  if (whitePen != nullptr) DeleteObject(whitePen);
}

LRESULT OnPaint(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  HGDIOBJ previousFont = SelectObject(dc, Perch.Font);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, Perch.Background);
  int left = Perch.ClientRect.left, top = Perch.ClientRect.top;
  if (ShowsOsLine(Perch.OsKind)) {
    char line[kMessageSize];
    ComposeOsLine(line, Perch.OsKind);
    TextOutA(dc, left + 130, top + 15, line, static_cast<int>(std::strlen(line)));
  }
  TextOutA(dc, left + 10, top + 52, kHeading, static_cast<int>(std::strlen(kHeading)));
  SelectObject(dc, previousFont);
  DrawFrame(dc);
  if (Perch.TargetIcon != nullptr) DrawIcon(dc, left + 20, top + 6, Perch.TargetIcon);
  EndPaint(hwnd, &paint);
  return 0;
}

// Brings the controls' marks and enabling in line with the form after a
// command changed it.
void ShowFormChanges(const SetupForm& before) {
  for (int slot = 1; slot < kSlotCount; ++slot) {
    HWND control = Perch.Controls[slot];
    if (control == nullptr) continue;
    const ControlSlot& now = Perch.Form.Slots[slot];
    if (now.Checked != before.Slots[slot].Checked) {
      SendMessageA(control, BM_SETCHECK, now.Checked ? 1 : 0, 0);
    }
    if (now.Enabled != before.Slots[slot].Enabled) EnableWindow(control, now.Enabled ? TRUE : FALSE);
  }
}

void ShowCancelMessage(HWND hwnd) {
  char message[kMessageSize];
  ComposeCancelMessage(message, Perch.Instructions);
  MessageBoxA(hwnd, message, kCancelCaption, MB_OK | MB_ICONINFORMATION);
}

LRESULT OnCommand(HWND hwnd, WPARAM wParam) {
  SetupForm before = Perch.Form;
  CommandAnswer answer = ApplySetupCommand(Perch.Form, Perch.Choices, Perch.OsKind, LOWORD(wParam));
  switch (answer) {
    case kCommandRegister:
      RegisterShortcuts(Perch.Registration(hwnd), Perch.ToolFolder, Perch.Instructions,
                        Perch.Choices);
      DestroyWindow(hwnd);
      break;
    case kCommandCancel:
      ShowCancelMessage(hwnd);
      DestroyWindow(hwnd);
      break;
    case kCommandContinue:
      ShowFormChanges(before);
      break;
  }
  return 0;
}

LRESULT OnClose(HWND hwnd) {
  int answer = MessageBoxA(hwnd, kCloseQuestion, kSetupCaption,
                           MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (answer == IDYES) DestroyWindow(hwnd);
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  for (int slot = 1; slot < kSlotCount; ++slot) {
    if (Perch.Controls[slot] != nullptr) DestroyWindow(Perch.Controls[slot]);
    Perch.Controls[slot] = nullptr;
  }
  if (Perch.BackgroundBrush != nullptr) {
    // The class outlives the window: give it back a brush that stays valid.
    SetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND,
                     reinterpret_cast<LONG_PTR>(GetStockObject(WHITE_BRUSH)));
    DeleteObject(Perch.BackgroundBrush);
    Perch.BackgroundBrush = nullptr;
  }
  if (Perch.Font != nullptr) DeleteObject(Perch.Font);
  Perch.Font = nullptr;
  if (Perch.TargetIcon != nullptr) DestroyIcon(Perch.TargetIcon);
  Perch.TargetIcon = nullptr;
  PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK PerchWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_PAINT: return OnPaint(hwnd);
    case WM_COMMAND: return OnCommand(hwnd, wParam);
    case WM_CLOSE: return OnClose(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// A second start only brings the running window forward.
bool WakeRunningInstance() {
  HWND running = FindWindowA(kPerchClassName, nullptr);
  if (running == nullptr) return false;
  if (IsIconic(running)) {
    ShowWindow(running, SW_RESTORE);
  } else {
    SetForegroundWindow(running);
  }
  return true;
}

}  // namespace

bool RegisterPerchClass(HINSTANCE instance) {
  WNDCLASSA windowClass;
  std::memset(&windowClass, 0, sizeof windowClass);
  windowClass.lpfnWndProc = PerchWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "ICON_1");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kPerchClassName;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreatePerchWindow(HINSTANCE instance) {
  Perch.Instance = instance;
  HWND hwnd = CreateWindowExA(0, kPerchClassName, kFirstCaption,
                              WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, 100, 50, 300, 260,
                              nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr || !IsWindow(hwnd)) return nullptr;
  return hwnd;
}

int RunPerch(HINSTANCE instance, int showCommand) {
  if (WakeRunningInstance()) return 0;
  if (!RegisterPerchClass(instance)) return 0;
  HWND hwnd = CreatePerchWindow(instance);
  if (hwnd == nullptr) return 0;
  ShowWindow(hwnd, showCommand);
  UpdateWindow(hwnd);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
