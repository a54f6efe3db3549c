// Rules of the activity log: which rows are shown, how their text is cut,
// their colours and the 300-row cap; and the clock text of the status bar.
// Pure: no <windows.h>.
#pragma once
#include <cstddef>
#include <cstdint>

enum {
  kLogRowCap = 300,     // the log keeps the last 300 rows
  kLogTextCut = 160,    // texts are cut to 160 bytes
  kLogRowTextSize = 162,  // one space, 160 bytes, NUL
  kBridgeTextSize = 512,  // a worker's row: at most 511 bytes and a NUL
};

// Colours as COLORREF values (0x00BBGGRR).
enum : uint32_t {
  kColourBlack = 0x000000,
  kColourRed = 0x0000FF,
  kColourDarkGreen = 0x009000,
  kColourGreen = 0x00FF00,
  kColourWhite = 0xFFFFFF,
};

// Rows of class 'D' are dropped before anything else while debug rows are off.
bool IsLogRowDropped(int rowClass, int showDebugRows);
// Rows of class 'x' are silent: never shown and never counted.
bool IsLogRowSilent(int rowClass);
// Text colour of a row by its class; the background is always white.
uint32_t LogRowColour(int rowClass);

// The text of a list row: one space, then the first 160 bytes of the text.
// A double-byte character that would lose its second byte is dropped whole.
void ComposeLogRowText(char (&row)[kLogRowTextSize], const char* text);

// What one append does to a list of `rowCount` rows.
struct LogAppendPlan {
  bool Skip;         // nothing is inserted ('x' or a dropped 'D')
  bool DeleteFirst;  // the oldest row goes first (the cap is reached)
  int InsertAt;      // index of the new row
  char RowText[kLogRowTextSize];
};
void PlanLogAppend(LogAppendPlan& plan, int rowCount, int rowClass, const char* text,
                   int showDebugRows);

// Clock: the quarter of the minute (0..3) decides when the clock redraws.
int ClockQuarter(int seconds);
// 160 for a status bar up to 20 pixels high, else 184.
int ClockWidthFor(int statusBarHeight);
// The clock text; the width of the clock part chooses the wide or compact form.
// dayOfWeek counts from Sunday = 0.
void FormatClockText(char (&out)[64], int year, int month, int day, int dayOfWeek, int hour,
                     int minute, int seconds, int clockWidth);
