#include "shell/log_rules.h"

#include <cstring>

#include "common/bounded_text.h"

bool IsLogRowDropped(int rowClass, int showDebugRows) {
  return showDebugRows == 0 && rowClass == 'D';
}

bool IsLogRowSilent(int rowClass) { return rowClass == 'x'; }

uint32_t LogRowColour(int rowClass) {
  switch (rowClass) {
    case 'D': return kColourGreen;
    case 'E': return kColourRed;
    case 'c': return kColourDarkGreen;
    default: return kColourBlack;
  }
}

void ComposeLogRowText(char (&row)[kLogRowTextSize], const char* text) {
  row[0] = ' ';
  // Take one byte more than the cut, so the cut can see whether the last
  // byte it keeps begins a double-byte character.
  char taken[kLogTextCut + 2];
  CopyText(taken, text);
  CutShiftJis(taken, kLogTextCut);
  CopyTextN(row + 1, sizeof row - 1, taken);
}

void PlanLogAppend(LogAppendPlan& plan, int rowCount, int rowClass, const char* text,
                   int showDebugRows) {
  plan.Skip = IsLogRowDropped(rowClass, showDebugRows) || IsLogRowSilent(rowClass);
  plan.DeleteFirst = false;
  plan.InsertAt = rowCount;
  plan.RowText[0] = '\0';
  if (plan.Skip) return;
  if (rowCount >= kLogRowCap) {
    plan.DeleteFirst = true;
    plan.InsertAt = rowCount - 1;
  }
  ComposeLogRowText(plan.RowText, text);
}

int ClockQuarter(int seconds) { return seconds / 15; }

int ClockWidthFor(int statusBarHeight) { return statusBarHeight > 20 ? 184 : 160; }

void FormatClockText(char (&out)[64], int year, int month, int day, int dayOfWeek, int hour,
                     int minute, int seconds, int clockWidth) {
  static const char* const kArrows[4] = {"↑", "→", "↓", "←"};
  static const char* const kDays[7] = {"日", "月", "火", "水", "木", "金", "土"};
  int quarter = ClockQuarter(seconds);
  const char* arrow = (quarter >= 0 && quarter < 4) ? kArrows[quarter] : kArrows[0];
  const char* dayName = (dayOfWeek >= 0 && dayOfWeek < 7) ? kDays[dayOfWeek] : "";
  if (clockWidth == 160) {
    FormatText(out, " %d.%d.%d （%s）   %02d:%02d %s", year, month, day, dayName, hour, minute,
               arrow);
  } else {
    FormatText(out, " %d.%d.%d（%s） %02d:%02d %s", year, month, day, dayName, hour, minute, arrow);
  }
}
