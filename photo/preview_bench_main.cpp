// preview_bench: times LoadPreviewPicture on one file, as the conditions
// dialog calls it (an 84 x 63 pane), and prints the milliseconds of each run
// and their median. Usage: preview_bench <file.jpg> [runs]. Not shipped.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "photo/preview_pane.h"
#include "shell/app_state.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: preview_bench <file.jpg> [runs]\n");
    return 2;
  }
  int runs = argc > 2 ? atoi(argv[2]) : 5;
  if (runs < 1 || runs > 99) runs = 5;
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
    int result = LoadPreviewPicture(owner, argv[1], &bitmap, 84, 63, &width, &height);
    QueryPerformanceCounter(&end);
    if (result != 1) {
      fprintf(stderr, "preview_bench: LoadPreviewPicture gave %d\n", result);
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
