#include <gtest/gtest.h>

#include "setup/os_class.h"

namespace {

struct OsCase {
  unsigned long Platform, Major, Minor;
  int Kind;
  const char* Name;
};

TEST(ClassifyOs, EveryRowOfTheTable) {
  const OsCase cases[] = {
      {1, 4, 0, 1, "Windows 95 ～ Me"},  {1, 4, 10, 1, "Windows 95 ～ Me"},
      {1, 4, 90, 1, "Windows 95 ～ Me"}, {1, 5, 0, 1, "Windows 95 ～ Me"},
      {2, 4, 0, 2, "Windows NT"},         {2, 4, 7, 2, "Windows NT"},
      {2, 5, 0, 3, "Windows 2000"},       {2, 5, 1, 4, "Windows XP"},
      {2, 5, 2, 4, "Windows XP"},         {2, 6, 0, 5, "Windows Vista"},
      {2, 6, 1, 6, "Windows 7"},          {2, 6, 2, 7, ""},
      {2, 6, 3, 7, ""},                   {2, 3, 51, 7, ""},
      {2, 10, 0, 7, ""},                  {2, 0, 0, 7, ""},
      {3, 5, 1, 7, ""},                   {3, 6, 1, 7, ""},
      {7, 0, 0, 7, ""},                   {0, 3, 10, 0, ""},
      {0, 6, 1, 0, ""},
  };
  for (const OsCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Platform << "/" << c.Major << "." << c.Minor);
    int kind = ClassifyOs(c.Platform, c.Major, c.Minor);
    EXPECT_EQ(kind, c.Kind);
    EXPECT_STREQ(OsDisplayName(kind), c.Name);
  }
}

TEST(OsLine, PaintedBelowSevenWithItsName) {
  const char* expected[] = {"(OS : )",
                            "(OS : Windows 95 ～ Me)",
                            "(OS : Windows NT)",
                            "(OS : Windows 2000)",
                            "(OS : Windows XP)",
                            "(OS : Windows Vista)",
                            "(OS : Windows 7)"};
  for (int kind = 0; kind < 7; ++kind) {
    char line[kMessageSize];
    ComposeOsLine(line, kind);
    EXPECT_STREQ(line, expected[kind]);
    EXPECT_TRUE(ShowsOsLine(kind));
  }
  EXPECT_FALSE(ShowsOsLine(7));
}

}  // namespace
