// The driver's own checks: a read waits for a program that is slow to reach
// its message loop, and never passes a program's silence off as an answer.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "e2e/driver.h"

namespace {

using namespace e2e;

struct LateLoop {
  Program Run;
  ~LateLoop() { EndProgram(Run); }
};

TEST(Driver, AProgramSlowToReachItsLoopIsWaitedForAndRead) {
  LateLoop late;
  ASSERT_TRUE(StartProgram(late.Run, JoinPath(BinFolder(), "late_loop.exe"), "6"));
  HWND window = WaitForRunningWindow(late.Run.Process.dwProcessId, "TesselLateLoop", kAnswerWait);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), "Late loop");
}

TEST(Driver, AProgramThatNeverReachesItsLoopFailsTheReadNamingTheWindow) {
  LateLoop late;
  ASSERT_TRUE(StartProgram(late.Run, JoinPath(BinFolder(), "late_loop.exe"), "never"));
  HWND window = WaitForTopWindow(late.Run.Process.dwProcessId, "TesselLateLoop", kAnswerWait);
  ASSERT_NE(window, nullptr);
  std::string text;
  EXPECT_NONFATAL_FAILURE(text = WindowText(window),
                          "no answer to WM_GETTEXT from window");
  EXPECT_NE(text, "");
  // Inside a wait the same silence is "not yet": the wait runs out, quietly.
  EXPECT_FALSE(WaitUntil([&] { return !WindowText(window).empty(); }, 1000));
}

}  // namespace
