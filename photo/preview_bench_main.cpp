// preview_bench: times LoadPreviewPicture on one file, as the conditions
// dialog calls it (by default an 84 x 63 pane, as at 96 dpi), and prints the
// milliseconds of each run and their median; a picture error box is answered
// and reported. Usage: preview_bench <file.jpg> [runs] [pane width] [pane
// height]. Not shipped.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "photo/preview_pane.h"
#include "shell/app_state.h"

namespace {

DWORD MainThread = 0;
char BoxText[256] = "";

BOOL CALLBACK AnswerBox(HWND window, LPARAM) {
  char cls[16] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  GetDlgItemTextA(window, 0xFFFF, BoxText, sizeof BoxText);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

// Answers the loader's message boxes, so that a refused picture ends the run.
DWORD WINAPI BoxWatcher(void*) {
  for (;;) {
    EnumThreadWindows(MainThread, AnswerBox, 0);
    Sleep(50);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: preview_bench <file.jpg> [runs] [pane width] [pane height]\n");
    return 2;
  }
  int runs = argc > 2 ? atoi(argv[2]) : 5;
  if (runs < 1 || runs > 99) runs = 5;
  const int paneWidth = argc > 4 ? atoi(argv[3]) : 84;
  const int paneHeight = argc > 4 ? atoi(argv[4]) : 63;
  MainThread = GetCurrentThreadId();
  CloseHandle(CreateThread(nullptr, 0, BoxWatcher, nullptr, 0, nullptr));
  App.FaceColour = GetSysColor(COLOR_BTNFACE);
  App.FaceBrush = CreateSolidBrush(App.FaceColour);
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double times[99];
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    int result = LoadPreviewPicture(owner, argv[1], &bitmap, paneWidth, paneHeight, &width, &height);
    QueryPerformanceCounter(&end);
    if (result != 1) {
      printf("refused: LoadPreviewPicture gave %d after %.1f ms, box \"%s\"\n", result,
             1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                 static_cast<double>(frequency.QuadPart),
             BoxText);
      return 1;
    }
    times[i] = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    printf("run %d: %.1f ms\n", i + 1, times[i]);
  }
  for (int i = 1; i < runs; ++i) {
    for (int j = i; j > 0 && times[j - 1] > times[j]; --j) {
      double t = times[j];
      times[j] = times[j - 1];
      times[j - 1] = t;
    }
  }
  BITMAP size = {};
  GetObjectA(bitmap, sizeof size, &size);
  printf("picture %dx%d, bitmap %ldx%ld, median %.1f ms over %d runs\n", width, height,
         static_cast<long>(size.bmWidth), static_cast<long>(size.bmHeight), times[runs / 2], runs);
  DeleteObject(bitmap);
  DeleteObject(App.FaceBrush);
  DestroyWindow(owner);
  return 0;
}
