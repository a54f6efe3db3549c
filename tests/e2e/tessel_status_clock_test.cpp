// Tessel's status bar and clock on the real window: the clock part's width
// and text form by the bar's height (normal and large system fonts), and a
// clock that turns at each quarter minute and at no other time.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tessel_session.h"
#include "e2e/window_paths.h"

using namespace e2e;

namespace {

using Tessel = TesselSession;

const char* const kArrows[4] = {"↑", "→", "↓", "←"};
const char* const kDays[7] = {"日", "月", "火", "水", "木", "金", "土"};

// The clock text for a moment, in the wide form (160-pixel part) or the
// compact one (184-pixel part).
std::string ClockText(const SYSTEMTIME& t, bool wide) {
  char text[128];
  snprintf(text, sizeof text,
           wide ? " %d.%d.%d （%s）   %02d:%02d %s" : " %d.%d.%d（%s） %02d:%02d %s", t.wYear,
           t.wMonth, t.wDay, kDays[t.wDayOfWeek], t.wHour, t.wMinute, kArrows[t.wSecond / 15]);
  return text;
}

std::string ClockPart(const Tessel& t) {
  std::vector<std::string> parts = StatusBarTexts(t.Status);
  return parts.size() == 2 ? parts[1] : std::string("<parts: ") + std::to_string(parts.size());
}

// The clock's text right now: it must be the text for the moment just before
// or just after reading it (a quarter may turn in between).
void ExpectClockShowsNow(const Tessel& t, bool wide) {
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  std::string clock = ClockPart(t);
  GetLocalTime(&after);
  EXPECT_TRUE(clock == ClockText(before, wide) || clock == ClockText(after, wide))
      << "clock \"" << clock << "\", expected \"" << ClockText(after, wide) << "\"";
}

// Milliseconds since midnight, local time.
long long LocalMs() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ((now.wHour * 60LL + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
}

void ExpectClockPartWidth(const Tessel& t, int width) {
  RECT client = {};
  ASSERT_TRUE(GetClientRect(t.Main, &client));
  std::vector<int> edges = StatusBarEdges(t.Status);
  ASSERT_EQ(edges.size(), 2u);
  EXPECT_EQ(edges[0], client.right - width);
  // The clock part runs to the bar's right end (-1, or the bar's width).
  EXPECT_TRUE(edges[1] == -1 || edges[1] >= client.right - 1) << edges[1];
}

TEST(TesselStatusClock, NormalBarHasTheWidePartAndTurnsEachQuarterMinuteOnly) {
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("clock"));
  ASSERT_NO_FATAL_FAILURE(t.Start());
  RECT bar = WindowRect(t.Status);
  ASSERT_LE(bar.bottom - bar.top, 20) << "this prefix's system font makes a taller bar";
  ASSERT_NO_FATAL_FAILURE(ExpectClockPartWidth(t, 160));
  ASSERT_TRUE(WaitUntil([&] { return !ClockPart(t).empty(); }, kEventWait));
  ExpectClockShowsNow(t, true);

  // Watch the clock over two quarter-minute turns: each turn changes its
  // text once, within half a second (the timer's period), and nothing else
  // does. Each look is bracketed by the time before and after it, so a
  // change is known to lie between the start of the look before it and the
  // end of the look that saw it, however slow the looks are; kSlack allows
  // for Tessel's timer being served late under load.
  const long long kQuarter = 15000, kWithin = 500, kSlack = 500;
  const long long kDay = 24LL * 3600 * 1000;
  // Not across midnight, and not while a turn that just fell due may still
  // be drawn.
  ASSERT_TRUE(WaitUntil(
      [&] {
        long long now = LocalMs();
        return now < kDay - 60000 && now % kQuarter >= kWithin + kSlack;
      },
      120000));
  ExpectClockShowsNow(t, true);
  long long start = LocalMs();
  long long firstTurn = (start / kQuarter + 1) * kQuarter;
  long long end = firstTurn + kQuarter + kWithin + kSlack + 1000;
  struct Change {
    long long NotBefore;  // the look before, which still saw the old text, began
    long long NotAfter;   // the look that saw it ended
    std::string Text;
    std::string Expected;
  };
  std::vector<Change> changes;
  std::string shown = ClockPart(t);
  long long lastLook = LocalMs();
  ASSERT_TRUE(WaitUntil(
      [&] {
        long long before = LocalMs();
        unsigned unanswered = WaitScope::Unanswered();
        std::string now = ClockPart(t);
        SYSTEMTIME moment;
        GetLocalTime(&moment);
        long long after = LocalMs();
        // A look that Tessel did not answer saw nothing: no change, and the
        // look before it still stands.
        if (WaitScope::Unanswered() != unanswered) return after >= end;
        if (now != shown) {
          changes.push_back({lastLook, after, now, ClockText(moment, true)});
          shown = now;
        }
        lastLook = before;
        return after >= end;
      },
      static_cast<int>(end - start) + 10000));
  ASSERT_EQ(changes.size(), 2u) << "the clock turned " << changes.size() << " times in two quarters";
  for (size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE(i);
    long long turn = firstTurn + static_cast<long long>(i) * kQuarter;
    EXPECT_GE(changes[i].NotAfter, turn) << "changed before the quarter turned";
    EXPECT_LE(changes[i].NotBefore, turn + kWithin + kSlack) << "late after the quarter turned";
    EXPECT_EQ(changes[i].Text, changes[i].Expected);
  }
  ASSERT_NO_FATAL_FAILURE(t.Quit());
}

TEST(TesselStatusClock, ClockPartIsEmptyUntilTheFirstTick) {
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("clock-start"));
  ASSERT_TRUE(StartProgram(t.Run, t.Exe));
  // The start-up line is set right after the clock's timer is started, and
  // before the message loop runs. Once the bar exists, the clock part's
  // length is asked for first in each look: that question waits in Tessel's
  // queue until the loop starts and is then served before any timer's tick,
  // however long the start-up took. The look in which the start-up line is
  // first seen must therefore have found the clock part empty (the ticks
  // served after that one question do not matter).
  const std::string kStartLine = " 写真ファイルのファイル名を変更します。";
  bool lineSeen = false;
  LRESULT clockLength = -1;
  HWND main = nullptr, status = nullptr;
  DWORD start = GetTickCount();
  while (!lineSeen && GetTickCount() - start < DWORD(kEventWait)) {
    if (status == nullptr) {
      main = FindTopWindow(t.Pid(), "TesselClass");
      status = main != nullptr ? Child(main, 5) : nullptr;
      continue;
    }
    LRESULT length = -1;
    Ask(status, SB_GETTEXTLENGTHA, 1, 0, "SB_GETTEXTLENGTHA", &length);
    clockLength = length & 0xFFFF;
    std::vector<std::string> parts = StatusBarTexts(status);
    lineSeen = parts.size() == 2 && parts[0] == kStartLine;
  }
  ASSERT_TRUE(lineSeen) << "no start-up line";
  t.Main = main;
  t.Status = status;
  EXPECT_EQ(clockLength, 0) << "the clock was drawn before the first tick could come";
  ASSERT_TRUE(WaitUntil([&] { return !ClockPart(t).empty(); }, kEventWait));
  ExpectClockShowsNow(t, true);
  ASSERT_TRUE(WaitUntil([&] { return (t.List = Child(t.Main, 2)) != nullptr; }, kEventWait));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
}

bool ReadDword(const char* key, const char* name, DWORD& value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = sizeof value;
  bool ok = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                             &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof value;
  RegCloseKey(opened);
  return ok;
}

bool KeyExists(const char* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

// HKCU\Control Panel\Desktop\LogPixels set to 144 (large system fonts) for
// the programs started while it is held; a program reads it when it starts.
// The value found is kept under HKCU\Software\Tessel tests too, so a run
// that was cut short is mended by the next one.
class LargeFonts {
 public:
  LargeFonts() {
    MendCutRun();
    DWORD value = 0;
    had_ = Read(kDesktop, "LogPixels", value);
    old_ = value;
    HKEY keep = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKeep, 0, nullptr, 0, KEY_WRITE, nullptr, &keep,
                        nullptr) != ERROR_SUCCESS) {
      return;
    }
    DWORD had = had_ ? 1 : 0;
    RegSetValueExA(keep, "had", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&had), sizeof had);
    RegSetValueExA(keep, "value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
    RegCloseKey(keep);
    set_ = Write(kDesktop, 144);
  }
  ~LargeFonts() { Restore(); }
  bool Set() const { return set_; }
  void Restore() {
    if (!set_) return;
    Put(had_, old_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKeep);
    set_ = false;
  }

 private:
  static constexpr const char* kDesktop = "Control Panel\\Desktop";
  static constexpr const char* kKeep = "Software\\Tessel tests";

  static bool Read(const char* key, const char* name, DWORD& value) {
    return ReadDword(key, name, value);
  }
  static bool Write(const char* key, DWORD value) {
    HKEY desktop = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &desktop,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    bool ok = RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
    RegCloseKey(desktop);
    return ok;
  }
  static void Put(bool had, DWORD value) {
    if (had) {
      Write(kDesktop, value);
    } else {
      HKEY desktop = nullptr;
      if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktop, 0, KEY_WRITE, &desktop) == ERROR_SUCCESS) {
        RegDeleteValueA(desktop, "LogPixels");
        RegCloseKey(desktop);
      }
    }
  }
  static void MendCutRun() {
    DWORD had = 0, value = 0;
    if (!Read(kKeep, "had", had)) return;
    Read(kKeep, "value", value);
    Put(had != 0, value);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKeep);
  }

  bool had_ = false;
  DWORD old_ = 0;
  bool set_ = false;
};

TEST(TesselStatusClock, TallBarOfLargeFontsHasTheWiderPartAndTheCompactText) {
  DWORD before = 0, after = 0;
  bool had = ReadDword("Control Panel\\Desktop", "LogPixels", before);
  Tessel t;
  ASSERT_NO_FATAL_FAILURE(t.Prepare("largefonts"));
  {
    LargeFonts large;
    ASSERT_TRUE(large.Set());
    ASSERT_NO_FATAL_FAILURE(t.Start());
    // Tessel has read the setting; nothing else starts with it.
    large.Restore();
  }
  // The prefix has its own setting back.
  EXPECT_EQ(ReadDword("Control Panel\\Desktop", "LogPixels", after), had);
  if (had) {
    EXPECT_EQ(after, before);
  }
  EXPECT_FALSE(KeyExists("Software\\Tessel tests"));
  RECT bar = WindowRect(t.Status);
  ASSERT_GT(bar.bottom - bar.top, 20) << "large fonts did not make a taller bar";
  ASSERT_NO_FATAL_FAILURE(ExpectClockPartWidth(t, 184));
  ASSERT_TRUE(WaitUntil([&] { return !ClockPart(t).empty(); }, kEventWait));
  ExpectClockShowsNow(t, false);
  // The rest of the bar is laid out the same way at this size.
  SetWindowPos(t.Main, nullptr, 0, 0, 720, 520, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(t.Main).right - WindowRect(t.Main).left == 720; },
                        kEventWait));
  ASSERT_NO_FATAL_FAILURE(ExpectClockPartWidth(t, 184));
  ASSERT_NO_FATAL_FAILURE(t.Quit());
}

}  // namespace
