#include "shell/log_rules.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "shell/module_path.h"

namespace {

struct Row {
  int rowClass;
  std::string text;
};

// Applies append plans to a plain list, as the list view does.
void Append(std::deque<Row>& list, int rowClass, const std::string& text) {
  LogAppendPlan plan;
  PlanLogAppend(plan, static_cast<int>(list.size()), rowClass, text.c_str(), 0);
  if (plan.Skip) return;
  if (plan.DeleteFirst) list.pop_front();
  ASSERT_EQ(plan.InsertAt, static_cast<int>(list.size()));
  list.push_back({rowClass, plan.RowText});
}

TEST(LogRules, TheCapKeepsTheLastThreeHundredRowsInOrder) {
  std::deque<Row> list;
  for (int i = 0; i < 300; ++i) Append(list, 'I', "row " + std::to_string(i));
  ASSERT_EQ(list.size(), 300u);
  EXPECT_EQ(list.front().text, " row 0");
  Append(list, 'E', "row 300");
  ASSERT_EQ(list.size(), 300u);
  EXPECT_EQ(list.front().text, " row 1");
  EXPECT_EQ(list.back().text, " row 300");
  for (int i = 301; i < 1000; ++i) Append(list, 'I', "row " + std::to_string(i));
  ASSERT_EQ(list.size(), 300u);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(list[i].text, " row " + std::to_string(700 + i));
}

TEST(LogRules, SilentAndDebugRowsAreNeverShownNorCounted) {
  std::deque<Row> list;
  Append(list, 'x', "silent");
  Append(list, 'D', "debug");
  Append(list, 'c', "start");
  Append(list, '?', "odd");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].text, " start");
  EXPECT_TRUE(IsLogRowDropped('D', 0));
  EXPECT_FALSE(IsLogRowDropped('D', 1));
  EXPECT_FALSE(IsLogRowDropped('x', 0));
}

TEST(LogRules, TextsAreCutAtOneHundredSixtyBytesAfterOneSpace) {
  char row[kLogRowTextSize];
  std::string exact(160, 'a');
  ComposeLogRowText(row, exact.c_str());
  EXPECT_EQ(std::string(row), " " + exact);
  ComposeLogRowText(row, (exact + "b").c_str());
  EXPECT_EQ(std::string(row), " " + exact);
  ComposeLogRowText(row, "");
  EXPECT_STREQ(row, " ");
  // 159 single bytes then a double-byte character: the half would be cut, so
  // the whole character goes; one byte earlier it fits whole.
  std::string text(159, 'a');
  ComposeLogRowText(row, (text + "表").c_str());
  EXPECT_EQ(std::string(row), " " + text);
  text.assign(158, 'a');
  ComposeLogRowText(row, (text + "表x").c_str());
  EXPECT_EQ(std::string(row), " " + text + "表");
  // Eighty double-byte characters fill exactly 160 bytes.
  std::string kana;
  for (int i = 0; i < 81; ++i) kana += "ソ";
  ComposeLogRowText(row, kana.c_str());
  EXPECT_EQ(std::string(row), " " + kana.substr(0, 160));
}

TEST(LogRules, ColoursByClass) {
  EXPECT_EQ(LogRowColour('I'), 0u);
  EXPECT_EQ(LogRowColour('E'), 255u);
  EXPECT_EQ(LogRowColour('c'), 36864u);
  EXPECT_EQ(LogRowColour('D'), 65280u);
  EXPECT_EQ(LogRowColour('Z'), 0u);
  EXPECT_EQ(LogRowColour(-1), 0u);
  EXPECT_EQ(kColourWhite, 16777215u);
}

TEST(ClockText, BothWidthsAndEveryQuarter) {
  char text[64];
  // Monday 12 November 2012, 09:05:20.
  FormatClockText(text, 2012, 11, 12, 1, 9, 5, 20, 160);
  EXPECT_STREQ(text, " 2012.11.12 （月）   09:05 →");
  FormatClockText(text, 2012, 11, 12, 1, 9, 5, 20, 184);
  EXPECT_STREQ(text, " 2012.11.12（月） 09:05 →");
  FormatClockText(text, 2013, 1, 6, 0, 23, 59, 59, 160);
  EXPECT_STREQ(text, " 2013.1.6 （日）   23:59 ←");
  FormatClockText(text, 2013, 1, 5, 6, 0, 0, 0, 160);
  EXPECT_STREQ(text, " 2013.1.5 （土）   00:00 ↑");
  FormatClockText(text, 2013, 1, 5, 3, 12, 30, 44, 184);
  EXPECT_STREQ(text, " 2013.1.5（水） 12:30 ↓");
  EXPECT_EQ(ClockQuarter(14), 0);
  EXPECT_EQ(ClockQuarter(15), 1);
  EXPECT_EQ(ClockQuarter(59), 3);
  EXPECT_NE(ClockQuarter(90), ClockQuarter(59));  // the start-up value always redraws
  EXPECT_EQ(ClockWidthFor(20), 160);
  EXPECT_EQ(ClockWidthFor(21), 184);
}

TEST(ModulePath, FolderOfTheExecutableSkipsDoubleByteCharacters) {
  char dir[256];
  ModuleDirectoryFromPath(dir, "C:\\Program Files\\Tessel\\Tessel.exe");
  EXPECT_STREQ(dir, "C:\\Program Files\\Tessel");
  ModuleDirectoryFromPath(dir, "C:\\表\\Tessel.exe");
  EXPECT_STREQ(dir, "C:\\表");
  // A name ending in ソ (83 5C) must not be split at its second byte.
  ModuleDirectoryFromPath(dir, "D:\\tools\\ソ.exe");
  EXPECT_STREQ(dir, "D:\\tools");
  ModuleDirectoryFromPath(dir, "C:\\Tessel.exe");
  EXPECT_STREQ(dir, "C:");
}

}  // namespace
