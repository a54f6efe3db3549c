// Times the rename worker over a folder of numbered files, and the folder
// scan of the source choice over a large folder.
// Usage: bench_rename <folder of PICT0001.jpg..PICTnnnn.jpg> <folder to scan>
#include <windows.h>

#include <cstdio>

#include "conditions/source_scan.h"
#include "engine/rename_worker.h"
#include "engine/worker_rules.h"
#include "shell/app_state.h"
#include "shell/settings_record.h"

namespace {

int RowCount = 0;
int ErrorRows = 0;

LRESULT CALLBACK CountRows(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP_LOGROW) {
    RowCount += 1;
    ErrorRows += App.BridgeClass == 'E';
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

int CountFiles(const char* folder, const char* wildcard = "PICT*.jpg") {
  char pattern[MAX_PATH];
  std::snprintf(pattern, sizeof pattern, "%s\\%s", folder, wildcard);
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileA(search, &entry));
  FindClose(search);
  return n;
}

int BenchRename(const char* folder) {
  int files = CountFiles(folder);
  if (files == 0) {
    std::printf("rename: no PICT*.jpg files in %s\n", folder);
    return 1;
  }
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CountRows;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "BenchRows";
  RegisterClassA(&wc);
  App.MainWindow = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
  MakeDefaultSettings(Settings);
  std::snprintf(Settings.SourceFolder, sizeof Settings.SourceFolder, "%s", folder);
  std::snprintf(Settings.SourceCommonPart, sizeof Settings.SourceCommonPart, "PICT");
  std::snprintf(Settings.SourceExtension, sizeof Settings.SourceExtension, ".jpg");
  Settings.SourceDigits = 4;
  Settings.SourceFirst = 0;
  Settings.SourceLast = 9999;
  std::snprintf(Settings.NamePart1, sizeof Settings.NamePart1, "2011");
  std::snprintf(Settings.NamePart2, sizeof Settings.NamePart2, "0502");
  Settings.SerialDigits = 4;
  Settings.SerialStart = 1;
  Settings.SerialStep = 1;

  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  SetRenameState(kRenameRunning);
  HANDLE thread = CreateThread(nullptr, 0, RenameWorkerThread, nullptr, 0, nullptr);
  if (thread == nullptr) return 1;
  for (;;) {
    DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (wait == WAIT_OBJECT_0 && GetRenameState() == kRenameEnded) break;
  }
  QueryPerformanceCounter(&end);
  CloseHandle(thread);

  double elapsed = Seconds(start, end);
  double floor = files * PauseAfterFile(files) / 1000.0;
  std::printf("rename: %d files, %d rows (%d errors), %d renamed, %d left\n", files, RowCount,
              ErrorRows, CountFiles(folder, "2011_0502_*.jpg"), CountFiles(folder));
  std::printf("rename: elapsed %.3f s, pause floor %.3f s, ratio %.4f\n", elapsed, floor,
              elapsed / floor);
  std::printf("rename: worker's own cost %.3f ms a file\n", (elapsed - floor) * 1000.0 / files);
  return 0;
}

// How long the platform's Sleep(50) really takes here, so that the worker's
// own cost can be told apart from the pause's overshoot.
void CalibrateSleep() {
  const int calls = 100;
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < calls; ++i) Sleep(50);
  QueryPerformanceCounter(&end);
  std::printf("sleep: Sleep(50) takes %.3f ms on average (%d calls)\n",
              Seconds(start, end) * 1000.0 / calls, calls);
}

int BenchScan(const char* folder) {
  const int rounds = 5;
  double best = 1e9, total = 0;
  SourceRange range = {};
  for (int i = 0; i < rounds; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    // A chosen PICT00001.jpg: common part PICT, 5 digits, names of 13 bytes.
    range = ScanSourceRange(folder, "PICT", ".jpg", 13, 5, 1);
    QueryPerformanceCounter(&end);
    double s = Seconds(start, end);
    total += s;
    if (s < best) best = s;
  }
  std::printf("scan: %d entries, lowest %d, highest %d, best %.1f ms, mean %.1f ms (%d rounds)\n",
              CountFiles(folder), range.Lowest, range.Highest, best * 1000.0,
              total * 1000.0 / rounds, rounds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: bench_rename <rename folder> <scan folder>\n");
    return 2;
  }
  int failed = BenchRename(argv[1]);
  CalibrateSleep();
  failed |= BenchScan(argv[2]);
  return failed;
}
