#include "shell/main_window.h"

#include <commctrl.h>

#include "conditions/conditions_dialog.h"
#include "engine/rename_worker.h"
#include "resources/tessel_resource.h"
#include "shell/activity_log.h"
#include "shell/app_state.h"
#include "shell/close_rules.h"
#include "shell/help_dialogs.h"
#include "shell/module_path.h"
#include "shell/settings_file.h"
#include "shell/settings_record.h"
#include "common/ansi_names.h"

AppState App;

namespace {

const char kMainClass[] = "TesselClass";
const char kSettingsKeptText[] =
    "設定ファイル（Tessel.ini）を読み込めなかったため、今回の設定は保存しませんでした";
const char kFolderUnheldText[] =
    "フォルダ名に Tessel で扱えない文字が含まれているため、設定ファイル（Tessel.ini）は"
    "読み込まず、今回の設定も保存しませんでした\n"
    "（フォルダを移動するか、フォルダ名を変更してください）";

// Set while the window is being destroyed. The box of a failed save runs a
// message loop, and a shutdown tick or close request served there must not
// destroy the window a second time (that would save, ask and free again).
bool Destroying = false;

LRESULT OnCreate(HWND hwnd) {
  Destroying = false;
  InitializeCriticalSection(&App.LogLock);
  InitCommonControls();
  App.LogList = nullptr;
  App.StatusBar = nullptr;
  App.ListFont = App.ButtonFont = App.NumberFont = nullptr;
  App.FieldBrush = App.FaceBrush = nullptr;
  App.LogRowCount = 0;
  App.ShowDebugRows = 0;
  SetRenameState(kRenameIdle);

  char exePath[256] = "";
  int length = HeldModuleFileName(exePath, sizeof exePath);
  App.ModuleFolderUnheld = length < 0;
  // A path that failed or was cut names no folder at all, rather than the
  // one its cut ends in; Tessel.ini then has no place.
  if (length <= 0 || length >= static_cast<int>(sizeof exePath)) exePath[0] = '\0';
  ModuleDirectoryFromPath(App.ModuleDirectory, exePath);

  bool madeDefaults = false;
  if (App.ModuleFolderUnheld || LoadSettings() != 0) {
    MakeDefaultSettings(Settings);
    madeDefaults = true;
  } else {
    NormaliseShowConfirmation(Settings);
  }
  Settings.SourceFirst = 0;
  Settings.SourceLast = 0;

  App.ListFont = CreateGothicFont(14);
  App.ButtonFont = CreateGothicFont(14);
  App.NumberFont = CreateGothicFont(14);
  // The class background becomes the button face; this brush lives as long
  // as the class and is not kept.
  SetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND,
                   reinterpret_cast<LONG_PTR>(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))));
  App.FieldColour = RGB(208, 240, 208);
  App.FieldBrush = CreateSolidBrush(App.FieldColour);
  App.FaceColour = GetSysColor(COLOR_BTNFACE);
  App.FaceBrush = CreateSolidBrush(App.FaceColour);

  CreateStatusBar();
  if (madeDefaults) {
    FitDefaultWindowSize(Settings, GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
                         GetSystemMetrics(SM_CYSIZE), App.StatusBarHeight);
  }
  MoveWindow(hwnd, Settings.WindowLeft, Settings.WindowTop, Settings.WindowWidth,
             Settings.WindowHeight, TRUE);
  CreateLogList();
  SetTimer(hwnd, IDT_CLOCK, 500, nullptr);
  App.LastClockTime.wSecond = 90;
  SetStatusText(0, " 写真ファイルのファイル名を変更します。");
  AppendLogRow('I', "メニューの改名で新旧ファイル名等を設定してください。");
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  Destroying = true;
  if (App.ModuleFolderUnheld) {
    // Said once, here: nothing was read from or written to any Tessel.ini.
    MessageBoxA(hwnd, kFolderUnheldText, "設定", MB_OK);
  } else if (App.SettingsFileKept) {
    // Said once, here: the file that could not be read is left as it was.
    MessageBoxA(hwnd, kSettingsKeptText, "設定", MB_OK);
  } else if (SaveSettings() != 0) {
    MessageBoxA(hwnd, "設定ファイルの更新に失敗しました", "設定", MB_OK);
  }
  if (App.LogList != nullptr) {
    DestroyWindow(App.LogList);
    App.LogList = nullptr;
  }
  HGDIOBJ objects[] = {App.ListFont, App.ButtonFont, App.NumberFont, App.FieldBrush,
                       App.FaceBrush};
  for (HGDIOBJ object : objects) {
    if (object != nullptr) DeleteObject(object);
  }
  App.ListFont = App.ButtonFont = App.NumberFont = nullptr;
  App.FieldBrush = App.FaceBrush = nullptr;
  KillTimer(hwnd, IDT_CLOCK);
  if (App.ShutdownTicks >= 0) KillTimer(hwnd, IDT_SHUTDOWN);
  DeleteCriticalSection(&App.LogLock);
  PostQuitMessage(0);
  return 0;
}

LRESULT OnClose(HWND hwnd) {
  if (Destroying) return 0;
  SetStatusText(0, "　Tesselを終了しています。少しお待ち下さい");
  if (CloseRequestAction(GetRenameState()) == kCloseWaitForWorker) {
    SetRenameState(kRenameIdle);
    SetTimer(hwnd, IDT_SHUTDOWN, 1000, nullptr);
    App.ShutdownTicks = 0;
  } else {
    App.ShutdownTicks = -99;
    DestroyWindow(hwnd);
  }
  return 0;
}

void OnShutdownTick(HWND hwnd) {
  if (Destroying) return;
  App.ShutdownTicks += 1;
  if (ShutdownTickEndsWait(GetRenameState(), App.ShutdownTicks)) DestroyWindow(hwnd);
}

// One worker at a time: the settings record, RenameState and the log bridge
// serve a single job.
void StartRenameWorker(HWND hwnd) {
  SetRenameState(kRenameRunning);
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, RenameWorkerThread, nullptr, 0, &threadId);
  if (thread == nullptr) {
    AppendLogRow('E', "リネームスレッド生成異常");
    MessageBoxA(hwnd, "リネームスレッド生成異常。終了します", "Tessel", MB_OK | MB_ICONWARNING);
    DestroyWindow(hwnd);
    return;
  }
  CloseHandle(thread);
}

LRESULT OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDM_RENAME:
      if (RunConditionsDialog(hwnd) == 1) StartRenameWorker(hwnd);
      return 0;
    case IDM_QUIT:
      PostMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case IDM_HELP_USAGE:
      ShowHelpDialog(hwnd);
      return 0;
    case IDM_HELP_HOMEPAGE:
      ShowHomePageDialog(hwnd);
      return 0;
    case IDM_HELP_VERSION:
      ShowVersionDialog(hwnd);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT OnNotify(WPARAM wParam, LPARAM lParam) {
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  if (wParam == kLogListId && header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
    return OnLogCustomDraw(lParam);
  }
  return 0;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  App.MainWindow = hwnd;
  switch (message) {
    case WM_CREATE:
      return OnCreate(hwnd);
    case WM_DESTROY:
      return OnDestroy(hwnd);
    case WM_SIZE:
      LayoutLogAndStatus(message, wParam, lParam);
      return 0;
    case WM_CLOSE:
      return OnClose(hwnd);
    case WM_QUERYENDSESSION:
      SaveSettings();
      return TRUE;
    case WM_TIMER:
      if (wParam == IDT_CLOCK) {
        OnClockTick();
      } else {
        OnShutdownTick(hwnd);
      }
      return 0;
    case WM_NOTIFY:
      return OnNotify(wParam, lParam);
    case WM_COMMAND:
      return OnCommand(hwnd, message, wParam, lParam);
    case WM_APP_LOGROW:
      if (LOWORD(wParam) == 0) AppendLogRow(App.BridgeClass, App.BridgeText);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

ATOM RegisterMainClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = 0;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "ICON_1");
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN_MENU);
  wc.lpszClassName = kMainClass;
  return RegisterClassA(&wc);
}

HWND CreateMainWindow(HINSTANCE instance) {
  App.Instance = instance;
  HWND hwnd = CreateWindowExA(0, kMainClass, "Tessel", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 5, 5,
                              50, 70, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return nullptr;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  // Windows takes the first show command of a process from its start-up
  // information when the starter gave one (a shortcut set to "minimised",
  // a hidden start); the window still opens normal.
  if (!IsWindowVisible(hwnd) || IsIconic(hwnd) || IsZoomed(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  return hwnd;
}

int RunTessel(HINSTANCE instance) {
  if (RegisterMainClass(instance) == 0) return 0;
  if (CreateMainWindow(instance) == nullptr) return 0;
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
