// The choice of a source file and the scan of its folder, on real folders
// under Wine.
#include "conditions/source_scan.h"

#include <gtest/gtest.h>

#include <string>

#include "conditions/source_choice.h"
#include "win/engine/temp_files.h"

namespace {

// What the dialog does with a chosen path: analyse it, then scan its folder
// with the extension as control 1405 shows it.
SourceRange ChooseAndScan(const std::string& path, SourceChoice& choice) {
  AnalyseSourceChoice(choice, path.c_str());
  EXPECT_EQ(choice.Refusal, kSourceAccepted) << path;
  return ScanSourceRange(choice.Folder, choice.CommonPart, choice.Extension,
                         choice.ExpectedLength, choice.Digits, choice.StartNumber);
}

void Touch(const std::string& folder, const char* name) {
  ASSERT_TRUE(testfiles::Write(folder, name, name)) << name;
}

TEST(SourceScan, LowestAndHighestIgnoreOtherDigitCountsAndExtensionLengths) {
  testfiles::Folder dir("scan");
  for (const char* name : {"PICT0100.jpg", "PICT0105.jpg", "PICT0120.jpg", "PICT01.jpg",
                           "PICT0110.jpeg", "PICT00009.jpg", "PICT12345.jpg", "PICT0050 copy.jpg",
                           "PICT0001.txt", "PICT0002.jp", "IMG_0003.jpg"})
    Touch(dir.Path, name);
  SourceChoice choice;
  SourceRange range = ChooseAndScan(dir.Path + "\\PICT0105.jpg", choice);
  EXPECT_STREQ(choice.Folder, dir.Path.c_str());
  EXPECT_STREQ(choice.CommonPart, "PICT");
  EXPECT_EQ(choice.Digits, 4);
  EXPECT_EQ(choice.StartNumber, 105);
  EXPECT_EQ(range.Lowest, 100);
  EXPECT_EQ(range.Highest, 120);
}

TEST(SourceScan, TheSearchIgnoresLetterCase) {
  testfiles::Folder dir("scancase");
  for (const char* name : {"PICT0100.jpg", "pict0007.JPG", "Pict0300.Jpg"}) Touch(dir.Path, name);
  SourceChoice choice;
  SourceRange range = ChooseAndScan(dir.Path + "\\PICT0100.jpg", choice);
  EXPECT_EQ(range.Lowest, 7);
  EXPECT_EQ(range.Highest, 300);
}

TEST(SourceScan, ANameOfDigitsOnlyScansEveryFileWithTheExtension) {
  testfiles::Folder dir("digits");
  for (const char* name : {"0001.jpg", "0005.jpg", "12.jpg", "abcd.jpg", "00009.jpg"})
    Touch(dir.Path, name);
  SourceChoice choice;
  SourceRange range = ChooseAndScan(dir.Path + "\\0001.jpg", choice);
  EXPECT_STREQ(choice.CommonPart, "");
  EXPECT_EQ(range.Lowest, 1);
  EXPECT_EQ(range.Highest, 5);
}

TEST(SourceScan, DoubleByteNamesWithBackslashBytesKeepTheirFolder) {
  testfiles::Folder dir("dbcs");
  std::string folder = dir.Path + "\\表";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  for (const char* name : {"ソ0001.jpg", "ソ0002.jpg", "ソ0009.jpg", "表0000.jpg"})
    Touch(folder, name);
  SourceChoice choice;
  SourceRange range = ChooseAndScan(folder + "\\ソ0002.jpg", choice);
  EXPECT_STREQ(choice.Folder, folder.c_str());
  EXPECT_STREQ(choice.CommonPart, "ソ");
  EXPECT_EQ(range.Lowest, 1);
  EXPECT_EQ(range.Highest, 9);
}

TEST(SourceScan, NoEntryOfTheRunLeavesTheChosenNumber) {
  testfiles::Folder dir("alone");
  for (const char* name : {"PIC.0004.jpg", "PIC.0001.jpg", "PIC.0009.jpg", "PICT0005", "PICT0001"})
    Touch(dir.Path, name);
  SourceChoice choice;
  // A full stop in the common part: names are cut at their first full stop.
  SourceRange range = ChooseAndScan(dir.Path + "\\PIC.0004.jpg", choice);
  EXPECT_EQ(range.Lowest, 4);
  EXPECT_EQ(range.Highest, 4);
  // A name without a full stop: the lone full stop is counted in the length.
  range = ChooseAndScan(dir.Path + "\\PICT0005", choice);
  EXPECT_STREQ(choice.Extension, ".");
  EXPECT_EQ(range.Lowest, 5);
  EXPECT_EQ(range.Highest, 5);
  // A folder that does not exist.
  range = ScanSourceRange((dir.Path + "\\missing").c_str(), "PICT", ".jpg", 12, 4, 42);
  EXPECT_EQ(range.Lowest, 42);
  EXPECT_EQ(range.Highest, 42);
}

TEST(SourceScan, AnExtensionTextWithoutFullStopGetsOne) {
  testfiles::Folder dir("stop");
  for (const char* name : {"PICT0003.jpg", "PICT0008.jpg", "PICT0009xjpg"}) Touch(dir.Path, name);
  SourceRange range = ScanSourceRange(dir.Path.c_str(), "PICT", "jpg", 12, 4, 5);
  EXPECT_EQ(range.Lowest, 3);
  EXPECT_EQ(range.Highest, 8);
}

}  // namespace
