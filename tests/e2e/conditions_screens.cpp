// conditions_screens <work folder>: brings up the conditions dialog and its
// three sub-dialogs of the Tessel.exe in <work folder> (with the run
// photos\PICT0100.jpg..PICT0120.jpg), one after the other, for pictures.
// For each it writes <work>\<name>.rect ("x y width height") and waits until
// <work>\<name>.done exists, which scripts/shoot-conditions.sh makes after
// taking the picture. Not a test: run in a Wine desktop by that script.
#include <cstdio>
#include <string>

#include "e2e/driver.h"

using namespace e2e;

namespace {

std::string Work;

bool Shot(const char* name, HWND window) {
  // Not a test: nothing outside the program tells when the X server shows its
  // last paint (the preview included), so the picture waits a moment for it.
  Sleep(700);
  RECT r = WindowRect(window);
  std::string rect = JoinPath(Work, std::string(name) + ".rect");
  std::string done = JoinPath(Work, std::string(name) + ".done");
  char line[64];
  snprintf(line, sizeof line, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
           r.bottom - r.top);
  if (!WriteFileBytes(rect, line, strlen(line))) return false;
  return WaitUntil([&] { return FileExists(done); }, 60000);
}

bool Fail(const char* what) {
  fprintf(stderr, "conditions_screens: %s\n", what);
  return false;
}

bool Run() {
  Program tessel;
  if (!StartProgram(tessel, JoinPath(Work, "Tessel.exe"))) return Fail("Tessel did not start");
  DWORD pid = tessel.Process.dwProcessId;
  HWND main = WaitForTopWindow(pid, "TesselClass", 20000);
  if (main == nullptr) return Fail("no main window");
  // Started once its first rows are in the log.
  if (!WaitUntil(
          [&] {
            HWND list = Child(main, 2);
            return list != nullptr && ListRowCount(list) > 0;
          },
          20000))
    return Fail("no start-up rows");
  PostCommand(main, 121);
  HWND dialog = WaitForDialog(pid, "ファイル名変更条件設定", 10000);
  if (dialog == nullptr) return Fail("no conditions dialog");
  ClickButton(dialog, 1425);
  if (!ChooseFileInOpenDialog(pid, "ファイルの選択", JoinPath(Work, "photos\\PICT0105.jpg"), 10000))
    return Fail("the chooser did not take the file");
  if (!WaitUntil([&] { return ItemText(dialog, 1006) == "0502"; }, 10000))
    return Fail("no capture date");
  if (!Shot("conditions", dialog)) return Fail("no picture of 101");

  ClickButton(dialog, 1426);
  HWND layout = WaitForDialog(pid, "撮影日詳細", 10000);
  if (layout == nullptr || !Shot("date-layout", layout)) return Fail("no picture of 102");
  ClickButton(layout, IDCANCEL);
  WaitUntil([&] { return !IsWindow(layout); }, 5000);

  ClickButton(dialog, 1427);
  HWND history = WaitForDialog(pid, "履歴から入力", 10000);
  if (history == nullptr || !Shot("history", history)) return Fail("no picture of 103");
  ClickButton(history, IDCANCEL);
  WaitUntil([&] { return !IsWindow(history); }, 5000);

  ClickButton(dialog, IDOK);
  HWND confirm = WaitForDialog(pid, "確認画面", 10000);
  if (confirm == nullptr || !Shot("confirm", confirm)) return Fail("no picture of 105");
  ClickButton(confirm, IDCANCEL);
  WaitUntil([&] { return !IsWindow(confirm); }, 5000);

  ClickButton(dialog, IDCANCEL);
  WaitUntil([&] { return !IsWindow(dialog); }, 5000);
  PostCommand(main, 123);
  WaitForExit(tessel, 10000, nullptr);
  EndProgram(tessel);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: conditions_screens <work folder>\n");
    return 2;
  }
  Work = argv[1];
  return Run() ? 0 : 1;
}
