// The shell's font: "ＭＳ ゴシック" in the Shift-JIS character set at a cell
// height, every other attribute zero; the main window makes three of them at
// height 14 (the log list's, the conditions dialog's push buttons' and its
// number fields') and deletes them when it is destroyed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "common/win_checks.h"
#include "shell/activity_log.h"
#include "shell/app_state.h"
#include "shell/main_window.h"

namespace {

TEST(GothicFont, IsTheShiftJisGothicAtTheGivenCellHeight) {
  struct Case {
    int height;
  } cases[] = {{14}, {9}, {20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    HFONT font = CreateGothicFont(c.height);
    ExpectGothicFont(font, c.height);
    if (font != nullptr) DeleteObject(font);
  }
}

TEST(GothicFont, MainWindowMakesThreeAtHeight14AndDeletesThemWithItself) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string ini(exe);
  ini = ini.substr(0, ini.find_last_of('\\')) + "\\Tessel.ini";
  DeleteFileA(ini.c_str());
  RegisterMainClass(GetModuleHandleA(nullptr));  // may be registered already
  App.ShutdownTicks = 0;
  HWND window = CreateMainWindow(GetModuleHandleA(nullptr));
  ASSERT_NE(window, nullptr);

  HFONT fonts[] = {App.ListFont, App.ButtonFont, App.NumberFont};
  for (HFONT font : fonts) {
    SCOPED_TRACE(reinterpret_cast<uintptr_t>(font));
    ExpectGothicFont(font, 14);
  }
  // Three fonts of their own, not one shared handle.
  EXPECT_NE(fonts[0], fonts[1]);
  EXPECT_NE(fonts[0], fonts[2]);
  EXPECT_NE(fonts[1], fonts[2]);
  // The log list draws in the list font.
  ASSERT_NE(App.LogList, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(App.LogList, WM_GETFONT, 0, 0)), App.ListFont);

  DestroyWindow(window);
  for (HFONT font : fonts) EXPECT_EQ(GetObjectType(font), 0u) << "still a live object";
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  DeleteFileA(ini.c_str());
  App.MainWindow = nullptr;
}

}  // namespace
