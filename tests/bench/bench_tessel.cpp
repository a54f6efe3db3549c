// Times the real Tessel.exe from outside, driven through its windows the way
// the end-to-end tests drive it (tests/e2e/driver.h). Prints figures; not a
// test. Every wait is on an event or a polled state, with a time limit.
//
// Usage (folders as Windows paths; each mode works in a new sub-folder of
// <work> holding its own copy of Tessel.exe):
//   bench_tessel rename <work> <files> <photo>
//       <files> copies of <photo> named PICT0001.jpg.., a rename job committed
//       through the conditions dialog (command 121, browse 1425, the file
//       chooser, OK 1, the confirmation), timed from the confirmation's OK to
//       the end row "リネーム終了", against the floor of the pauses.
//   bench_tessel startup <work> <rounds>
//       start to painted main window of Tessel.exe and of bench_one_window.exe
//       (a program that opens one window), in turns; medians.
//   bench_tessel preview <work> <rounds> <photo>...
//       the choice of a photo in the conditions dialog (the chooser's Open) to
//       its picture painted in the pane; median per photo.
//   bench_tessel log <rows>
//       in this process, the activity log's own code (AppendLogRow on a list
//       made by CreateLogList, full at 300 rows) taken apart per row: the
//       append, its insertion, the first row's deletion, the scroll to the
//       last row, the repaint, Wine's redraw of the list's scroll bar, and
//       the worker's cross-thread send with and without the append.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "engine/worker_rules.h"
#include "shell/activity_log.h"
#include "shell/app_state.h"

using namespace e2e;

namespace {

const char kConditionsCaption[] = "ファイル名変更条件設定";
const char kChooserCaption[] = "ファイルの選択";
const char kConfirmCaption[] = "確認画面";
const char kEndRow[] = " リネーム終了";
const int kPreviewPane = 1431;

double Now() {
  static LARGE_INTEGER frequency = {};
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

// Polls `done` every `stepMs` (pumping this thread's messages) until it holds
// or time runs out; finer than the driver's WaitUntil, for start-up times.
template <typename Done>
bool Poll(Done done, int timeoutMs, DWORD stepMs) {
  double limit = Now() + timeoutMs / 1000.0;
  for (;;) {
    if (done()) return true;
    if (Now() > limit) return done();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, stepMs, QS_ALLINPUT);
  }
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int CountFiles(const std::string& folder, const char* wildcard) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(JoinPath(folder, wildcard).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileA(search, &entry));
  FindClose(search);
  return n;
}

std::string NewFolder(const std::string& parent, const std::string& name) {
  std::string folder = JoinPath(parent, name);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// A window has nothing left to paint (GetUpdateRect reads the window
// manager's state of any process's window).
bool Painted(HWND window) {
  return window != nullptr && IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE);
}

// One row of Tessel's log list, read through memory inside its process; the
// block is taken once, so that polling costs one message a look.
struct RemoteRow {
  HWND List = nullptr;
  HANDLE Process = nullptr;
  char* Address = nullptr;
  enum { kText = 512 };

  explicit RemoteRow(HWND list) : List(list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    Process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (Process != nullptr)
      Address = static_cast<char*>(VirtualAllocEx(Process, nullptr, sizeof(LVITEMA) + kText,
                                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteRow() {
    if (Address != nullptr) VirtualFreeEx(Process, Address, 0, MEM_RELEASE);
    if (Process != nullptr) CloseHandle(Process);
  }
  std::string Last() {
    if (Address == nullptr) return "";
    int count = ListRowCount(List);
    if (count <= 0) return "";
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = count - 1;
    item.pszText = Address + sizeof(LVITEMA);
    item.cchTextMax = kText;
    SIZE_T done = 0;
    char text[kText] = "";
    if (!WriteProcessMemory(Process, Address, &item, sizeof item, &done)) return "";
    WriteProcessMemory(Process, Address + sizeof(LVITEMA), text, 1, &done);
    SendMessageTimeoutA(List, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(Address), SMTO_NORMAL,
                        5000, nullptr);
    ReadProcessMemory(Process, Address + sizeof(LVITEMA), text, sizeof text, &done);
    text[kText - 1] = '\0';
    return text;
  }
};

struct Tessel {
  Program Run;
  HWND Main = nullptr;
  HWND List = nullptr;

  ~Tessel() { EndProgram(Run); }
  DWORD Pid() const { return Run.Process.dwProcessId; }

  bool Start(const std::string& exe) {
    if (!StartProgram(Run, exe)) return false;
    Main = WaitForTopWindow(Pid(), "TesselClass", 20000);
    return Main != nullptr && WaitUntil(
                                  [&] {
                                    List = Child(Main, 2);
                                    return List != nullptr && ListRowCount(List) > 0;
                                  },
                                  10000);
  }
  // Command 123 as the menu sends it; ends the process if it does not go.
  void Quit() {
    if (Main != nullptr) PostCommand(Main, 123);
    if (!WaitForExit(Run, 15000, nullptr)) std::printf("note: Tessel did not end by itself\n");
    EndProgram(Run);
  }
  HWND OpenConditions() {
    PostCommand(Main, 121);
    return WaitForDialog(Pid(), kConditionsCaption, 15000);
  }
};

// The chooser's file name typed in; returns the chooser ready for its Open.
HWND FillChooser(DWORD pid, HWND dialog, const std::string& path) {
  ClickButton(dialog, 1425);
  HWND chooser = WaitForDialog(pid, kChooserCaption, 15000);
  if (chooser == nullptr) return nullptr;
  if (!WaitUntil([&] { return GetDlgItem(chooser, 0x47C) != nullptr; }, 10000)) return nullptr;
  SetItemText(chooser, 0x47C, path.c_str());
  return chooser;
}

int BenchRename(const std::string& work, int files, const std::string& photo) {
  char tag[32];
  std::snprintf(tag, sizeof tag, "rename-%d", files);
  std::string folder = NewFolder(work, tag);
  std::string exe = CopyProgram(folder, "Tessel.exe");
  std::string photos = NewFolder(folder, "photos");
  for (int n = 1; n <= files; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "PICT%04d.jpg", n);
    if (!CopyFileA(photo.c_str(), JoinPath(photos, name).c_str(), FALSE)) {
      std::printf("real %d: cannot make %s from %s\n", files, name, photo.c_str());
      return 1;
    }
  }
  Tessel t;
  if (exe.empty() || !t.Start(exe)) {
    std::printf("real %d: Tessel did not start\n", files);
    return 1;
  }
  HWND dialog = t.OpenConditions();
  if (dialog == nullptr) {
    std::printf("real %d: no conditions dialog\n", files);
    return 1;
  }
  HWND chooser = FillChooser(t.Pid(), dialog, JoinPath(photos, "PICT0001.jpg"));
  if (chooser == nullptr) {
    std::printf("real %d: no file chooser\n", files);
    return 1;
  }
  ClickButton(chooser, IDOK);
  char last[16];
  std::snprintf(last, sizeof last, "%d", files);
  // The run's range read from the folder, and the capture date put in.
  if (!WaitUntil(
          [&] { return ItemText(dialog, 1002) == last && ItemText(dialog, 1005) == "2011"; },
          20000)) {
    std::printf("real %d: the choice was not taken (last %s, part %s)\n", files,
                ItemText(dialog, 1002).c_str(), ItemText(dialog, 1005).c_str());
    return 1;
  }
  SetItemText(dialog, 1007, "4");  // four serial digits: 1,000 names fit
  ClickButton(dialog, IDOK);
  HWND confirm = WaitForDialog(t.Pid(), kConfirmCaption, 15000);
  if (confirm == nullptr) {
    std::printf("real %d: no confirmation\n", files);
    return 1;
  }
  RemoteRow row(t.List);
  double start = Now();
  ClickButton(confirm, IDOK);
  // Until the last file has its new name the folder is watched (no message
  // to Tessel, which would compete with its worker for the main thread);
  // then the list's last row, every millisecond, until the end row.
  char lastName[32];
  std::snprintf(lastName, sizeof lastName, "2011_0502_%04d.jpg", files);
  std::string lastPath = JoinPath(photos, lastName);
  int timeoutMs = files * 100 * 4 + 30000;
  bool ended = Poll([&] { return FileExists(lastPath); }, timeoutMs, 10) &&
               Poll([&] { return row.Last() == kEndRow; }, 30000, 1);
  double elapsed = Now() - start;
  if (!ended) {
    std::printf("real %d: no end row within %d s\n", files, timeoutMs / 1000);
    return 1;
  }
  std::vector<ListRow> rows = ReadListRows(t.List);
  int errors = 0;
  for (const ListRow& r : rows) errors += r.Class == 'E';
  t.Quit();
  double floor = files * PauseAfterFile(files) / 1000.0;
  std::printf("real %d: %d renamed, %d left, %zu rows kept (%d errors)\n", files,
              CountFiles(photos, "2011_0502_*.jpg"), CountFiles(photos, "PICT*.jpg"), rows.size(),
              errors);
  std::printf("real %d: elapsed %.3f s, pause floor %.3f s, ratio %.4f, beyond the pauses %.3f ms a file\n",
              files, elapsed, floor, elapsed / floor, (elapsed - floor) * 1000.0 / files);
  return 0;
}

// One start of a copy of `exe` in `folder`, timed until `painted(main)` holds
// for its window of class `windowClass`; the window is then sent `closing`
// (wParam `closingParam`). Says why and returns false when it did not start
// or paint.
template <typename Painted>
bool TimeOneStart(const std::string& folder, const char* exe, const char* windowClass,
                  Painted painted, UINT closing, WPARAM closingParam, std::vector<double>& times) {
  std::string copy = CopyProgram(folder, exe);
  Program run;
  double start = Now();
  if (copy.empty() || !StartProgram(run, copy)) {
    std::printf("startup: %s did not start\n", exe);
    return false;
  }
  HWND main = nullptr;
  bool shown = Poll(
      [&] {
        if (main == nullptr) main = FindTopWindow(run.Process.dwProcessId, windowClass);
        return main != nullptr && painted(main);
      },
      20000, 2);
  double elapsed = Now() - start;
  if (!shown) {
    std::printf("startup: the window of %s was not painted\n", exe);
    EndProgram(run);
    return false;
  }
  times.push_back(elapsed);
  PostMessageA(main, closing, closingParam, 0);
  WaitForExit(run, 15000, nullptr);
  EndProgram(run);
  return true;
}

int BenchStartup(const std::string& work, int rounds) {
  std::vector<double> tessel, plain;
  for (int i = 0; i < rounds; ++i) {
    auto tesselPainted = [](HWND main) {
      HWND list = Child(main, 2), status = Child(main, 5);
      return Painted(main) && Painted(list) && Painted(status) && ListRowCount(list) > 0;
    };
    if (!TimeOneStart(NewFolder(work, "start-tessel-" + std::to_string(i)), "Tessel.exe",
                      "TesselClass", tesselPainted, WM_COMMAND, MAKEWPARAM(123, 0), tessel) ||
        !TimeOneStart(NewFolder(work, "start-plain-" + std::to_string(i)), "bench_one_window.exe",
                      "BenchOneWindow", Painted, WM_CLOSE, 0, plain)) {
      return 1;
    }
  }
  double t = Median(tessel), p = Median(plain);
  std::printf("startup: Tessel.exe %.1f ms, one window %.1f ms, ratio %.2f (median of %d, "
              "Tessel %.1f..%.1f ms, one window %.1f..%.1f ms)\n",
              t * 1000, p * 1000, t / p, rounds, *std::min_element(tessel.begin(), tessel.end()) * 1000,
              *std::max_element(tessel.begin(), tessel.end()) * 1000,
              *std::min_element(plain.begin(), plain.end()) * 1000,
              *std::max_element(plain.begin(), plain.end()) * 1000);
  return 0;
}

// Median time from the chooser's Open to the pane painted with the picture
// (the capture date is put in after the picture has been made; the pane's
// paint follows when the dialog is idle).
int BenchPreview(Tessel& t, const std::string& work, int rounds, const std::string& photo,
                 const char* label) {
  std::string folder = NewFolder(work, std::string("preview-") + label);
  std::string chosen = JoinPath(folder, "PICT0001.jpg");
  if (!CopyFileA(photo.c_str(), chosen.c_str(), FALSE)) {
    std::printf("preview: cannot copy %s\n", photo.c_str());
    return 1;
  }
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    HWND dialog = t.OpenConditions();
    if (dialog == nullptr) {
      std::printf("preview: no conditions dialog\n");
      return 1;
    }
    HWND pane = GetDlgItem(dialog, kPreviewPane);
    HWND chooser = FillChooser(t.Pid(), dialog, chosen);
    if (chooser == nullptr || pane == nullptr) {
      std::printf("preview: no file chooser or pane\n");
      return 1;
    }
    double start = Now();
    ClickButton(chooser, IDOK);
    HWND refusal = nullptr;
    bool shown = Poll([&] {
      refusal = WaitForDialog(t.Pid(), "エラー", 0);
      return refusal != nullptr || (ItemText(dialog, 1005) == "2011" && Painted(pane));
    }, 60000, 2);
    double elapsed = Now() - start;
    if (refusal != nullptr) {
      // A picture the 32-bit program cannot hold: the picture error box.
      std::printf("preview: %s refused with the picture error box after %.1f ms\n", label,
                  elapsed * 1000);
      ClickButton(refusal, IDOK);
      WaitUntil([&] { return ItemText(dialog, 1005) == "2011"; }, 60000);
      ClickButton(dialog, IDCANCEL);
      WaitUntil([&] { return !IsWindow(dialog); }, 15000);
      return 0;
    }
    if (!shown) {
      std::printf("preview: the picture of %s was not shown\n", label);
      return 1;
    }
    times.push_back(elapsed);
    ClickButton(dialog, IDCANCEL);
    if (!WaitUntil([&] { return !IsWindow(dialog); }, 15000)) {
      std::printf("preview: the dialog did not close\n");
      return 1;
    }
  }
  std::printf("preview: %s %.1f ms from the choice to the painted picture (median of %d, %.1f..%.1f ms)\n",
              label, Median(times) * 1000, rounds,
              *std::min_element(times.begin(), times.end()) * 1000,
              *std::max_element(times.begin(), times.end()) * 1000);
  return 0;
}

// --- The log list's cost, in this process ----------------------------------

bool HostAppends = true;

LRESULT CALLBACK LogHost(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (wParam == kLogListId && header->code == static_cast<UINT>(NM_CUSTOMDRAW))
        return OnLogCustomDraw(lParam);
      return 0;
    }
    case WM_SIZE:
      LayoutLogAndStatus(message, wParam, lParam);
      return 0;
    case WM_APP_LOGROW:
      if (HostAppends) AppendLogRow(App.BridgeClass, App.BridgeText);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void RowText(char (&text)[96], int n) {
  std::snprintf(text, sizeof text, "PICT%04d.jpg -> 2011_0502_%04d.jpg  ＯＫ", n % 10000,
                n % 10000);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

int SendRows = 0;
DWORD WINAPI SendingWorker(LPVOID) {
  char text[96];
  for (int i = 0; i < SendRows; ++i) {
    RowText(text, i);
    SendLogRow('I', text);
  }
  return 0;
}

// The worker's sends, timed on its side while this thread serves them.
double TimeSends(int rows, bool append) {
  HostAppends = append;
  SendRows = rows;
  double start = Now();
  HANDLE thread = CreateThread(nullptr, 0, SendingWorker, nullptr, 0, nullptr);
  for (;;) {
    DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    Pump();
    if (wait == WAIT_OBJECT_0) break;
  }
  double elapsed = Now() - start;
  CloseHandle(thread);
  HostAppends = true;
  return elapsed * 1000.0 / rows;
}

int BenchLog(int rows) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = LogHost;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "BenchLogHost";
  RegisterClassA(&wc);
  InitializeCriticalSection(&App.LogLock);
  InitCommonControls();
  App.Instance = wc.hInstance;
  App.ListFont = CreateGothicFont(14);
  // The window of a default Tessel.ini: 584 x 500 at 200, 100.
  App.MainWindow = CreateWindowExA(0, wc.lpszClassName, "log", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                   200, 100, 584, 500, nullptr, nullptr, wc.hInstance, nullptr);
  CreateStatusBar();
  CreateLogList();
  ShowWindow(App.MainWindow, SW_SHOWNORMAL);
  UpdateWindow(App.MainWindow);
  char text[96];
  for (int i = 0; i < 300; ++i) {
    RowText(text, i);
    AppendLogRow('I', text);
  }
  UpdateWindow(App.LogList);
  Pump();

  // The whole append as the main window makes it, then the repaint it leaves.
  double append = 0, paint = 0;
  for (int i = 0; i < rows; ++i) {
    RowText(text, 300 + i);
    double t0 = Now();
    AppendLogRow(i % 7 == 0 ? 'E' : 'I', text);
    double t1 = Now();
    UpdateWindow(App.LogList);
    double t2 = Now();
    append += t1 - t0;
    paint += t2 - t1;
    Pump();
  }
  // Its steps, one message each, on the same full list.
  double insert = 0, remove = 0, scroll = 0, repaint = 0;
  for (int i = 0; i < rows; ++i) {
    RowText(text, 5000 + i);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = App.LogRowCount;
    item.pszText = text;
    item.lParam = 'I';
    double t0 = Now();
    SendMessageA(App.LogList, LVM_DELETEITEM, 0, 0);
    double t1 = Now();
    SendMessageA(App.LogList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    double t2 = Now();
    SendMessageA(App.LogList, LVM_ENSUREVISIBLE, App.LogRowCount - 1, TRUE);
    double t3 = Now();
    UpdateWindow(App.LogList);
    double t4 = Now();
    remove += t1 - t0;
    insert += t2 - t1;
    scroll += t3 - t2;
    repaint += t4 - t3;
    Pump();
  }
  // The same three steps with the list's drawing held off around them, then
  // the list invalidated whole (its rows all moved up by one anyway).
  double held = 0, heldPaint = 0;
  for (int i = 0; i < rows; ++i) {
    RowText(text, 7000 + i);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = App.LogRowCount;
    item.pszText = text;
    item.lParam = 'I';
    double t0 = Now();
    SendMessageA(App.LogList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(App.LogList, LVM_DELETEITEM, 0, 0);
    SendMessageA(App.LogList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageA(App.LogList, LVM_ENSUREVISIBLE, App.LogRowCount - 1, TRUE);
    SendMessageA(App.LogList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(App.LogList, nullptr, FALSE);
    double t1 = Now();
    UpdateWindow(App.LogList);
    double t2 = Now();
    held += t1 - t0;
    heldPaint += t2 - t1;
    Pump();
  }
  // Wine's share of that: the list's vertical bar redrawn by one SetScrollInfo
  // with the values it already holds. Bringing its bars up to date, as the
  // list does once a row after the hold, makes two such calls.
  SCROLLINFO bar = {};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_ALL;
  GetScrollInfo(App.LogList, SB_VERT, &bar);
  double scrollBar = Now();
  for (int i = 0; i < rows; ++i) SetScrollInfo(App.LogList, SB_VERT, &bar, TRUE);
  scrollBar = Now() - scrollBar;
  Pump();
  int kept = ListRowCount(App.LogList);
  double sendOnly = TimeSends(rows, false);
  double sendAppend = TimeSends(rows, true);
  double k = 1000.0 / rows;
  std::printf("log: %d rows on a full list (%d kept), ms a row:\n", rows, kept);
  std::printf("log:   AppendLogRow %.3f (the repaint it leaves %.3f, done while the worker pauses)\n",
              append * k, paint * k);
  std::printf("log:   its steps: delete first %.3f, insert %.3f, scroll to last %.3f; repaint %.3f\n",
              remove * k, insert * k, scroll * k, repaint * k);
  std::printf("log:   the same with drawing held off around them %.3f; repaint %.3f\n",
              held * k, heldPaint * k);
  std::printf("log:   Wine's redraw of the list's scroll bar, one SetScrollInfo %.3f\n",
              scrollBar * k);
  std::printf("log:   worker's cross-thread send: stub %.3f, with the append %.3f\n", sendOnly,
              sendAppend);
  DestroyWindow(App.MainWindow);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "rename" && argc == 5) return BenchRename(argv[2], std::atoi(argv[3]), argv[4]);
  if (mode == "startup" && argc == 4) return BenchStartup(argv[2], std::atoi(argv[3]));
  if (mode == "preview" && argc >= 5) {
    std::string work = argv[2];
    std::string folder = NewFolder(work, "preview");
    std::string exe = CopyProgram(folder, "Tessel.exe");
    Tessel t;
    if (exe.empty() || !t.Start(exe)) {
      std::printf("preview: Tessel did not start\n");
      return 1;
    }
    int rounds = std::atoi(argv[3]);
    int failed = 0;
    // Each photo under its file name, without folder and extension.
    for (int i = 4; i < argc; ++i) {
      std::string label = argv[i];
      label = label.substr(label.find_last_of('\\') + 1);
      label = label.substr(0, label.find_last_of('.'));
      failed |= BenchPreview(t, work, rounds, argv[i], label.c_str());
    }
    t.Quit();
    return failed;
  }
  if (mode == "log" && argc == 3) return BenchLog(std::atoi(argv[2]));
  std::printf(
      "usage: bench_tessel log <rows>\n"
      "       bench_tessel rename <work> <files> <photo>\n"
      "       bench_tessel startup <work> <rounds>\n"
      "       bench_tessel preview <work> <rounds> <photo>...\n");
  return 2;
}
