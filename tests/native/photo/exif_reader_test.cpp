#include "photo/exif_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "native/photo/exif_builder.h"

using namespace exif_test;

namespace {

struct Parsed {
  int Code;
  std::string Date;
};

Parsed Parse(const std::vector<uint8_t>& bytes, size_t length) {
  char date[kCaptureDateSize] = "XXXXXXXX";
  int code = ParseCaptureDate(bytes.data(), length, date);
  return {code, date};
}

Parsed Parse(const std::vector<uint8_t>& bytes) { return Parse(bytes, bytes.size()); }

TEST(ExifReader, TypicalCameraFileGivesItsOriginalDateInBothByteOrders) {
  for (bool big : {false, true}) {
    Parsed p = Parse(CameraFile(big).Bytes);
    EXPECT_EQ(p.Code, 1) << big;
    EXPECT_EQ(p.Date, "20110502") << big;
  }
}

TEST(ExifReader, FindsTheSegmentAfterJfifThroughTheEightyPositionScan) {
  struct Case {
    int App0Length;  // the identifier lies at App0Length + 8
    int Code;
  } cases[] = {
      {16, 1},   // the usual JFIF segment: identifier at 24
      {77, 1},   // identifier at 85, the last position scanned
      {78, -3},  // identifier at 86, past the scan
      {200, -3},
  };
  for (const Case& c : cases) {
    ExifBytes f = CameraFile(false, c.App0Length);
    ASSERT_EQ(f.Tiff, static_cast<size_t>(c.App0Length + 14));
    Parsed p = Parse(f.Bytes);
    EXPECT_EQ(p.Code, c.Code) << c.App0Length;
    EXPECT_EQ(p.Date, c.Code == 1 ? "20110502" : " ") << c.App0Length;
  }
}

TEST(ExifReader, ScanSkipsAnELetterThatStartsNoIdentifier) {
  ExifBytes f = CameraFile(true, 16);
  f.PutText(8, "EXIT", 4);  // inside the JFIF data, before the real identifier
  EXPECT_EQ(Parse(f.Bytes).Code, 1);
}

TEST(ExifReader, StructureOfTheHeadGivesItsResultCode) {
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
  std::vector<uint8_t> quantisation = CameraFile(false).Bytes;
  quantisation[3] = 0xDB;
  std::vector<uint8_t> startTruncated = CameraFile(false).Bytes;
  startTruncated[1] = 0xD9;
  struct Case {
    const char* Name;
    std::vector<uint8_t> Bytes;
    int Code;
  } cases[] = {
      {"png", png, -1},
      {"not FF D8", startTruncated, -1},
      {"FF DB second", quantisation, -2},
      {"identifier Exig", StartExif(false, 0, "Exig").Bytes, -3},
      {"identifier exif", StartExif(false, 0, "exif").Bytes, -3},
      {"order IM", StartExif(false, 0, "Exif", "IM").Bytes, -4},
      {"order ii", StartExif(false, 0, "Exif", "ii").Bytes, -4},
      {"no IFD0 entries", StartExif(false).Bytes, 0},
  };
  for (const Case& c : cases) {
    Parsed p = Parse(c.Bytes);
    EXPECT_EQ(p.Code, c.Code) << c.Name;
    EXPECT_EQ(p.Date, " ") << c.Name;
  }
}

TEST(ExifReader, OrientationOfIfd0) {
  struct Case {
    bool Big;
    int Value;  // -1: no Orientation entry
    int Orientation;
  } cases[] = {
      {false, 6, 6}, {true, 8, 8}, {false, -1, 1}, {true, 9, 1},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(c.Big);
    std::vector<IfdEntry> ifd0 = {{kTagMake, kTypeAscii, 6, 0x80}};
    // A SHORT value is left-justified in the value field.
    const uint32_t value = c.Big ? static_cast<uint32_t>(c.Value) << 16 : static_cast<uint32_t>(c.Value);
    if (c.Value >= 0) ifd0.push_back({0x0112, 3, 1, value});
    f.Ifd(8, ifd0);
    f.Grow(400);
    EXPECT_EQ(ParseOrientation(f.Bytes.data(), f.Bytes.size()), c.Orientation) << c.Big << " " << c.Value;
  }
}

TEST(ExifReader, UpperCaseIdentifierIsAccepted) {
  ExifBytes f = CameraFile(false);
  f.PutText(6, "EXIF", 4);
  EXPECT_EQ(Parse(f.Bytes).Code, 1);
}

// A file with one Exif IFD at 0x40 whose entries the case gives (up to 41
// fit before the texts), and the two date texts at kOriginalAt and kDigitizedAt.
const uint32_t kOriginalAt = 0x300;
const uint32_t kDigitizedAt = 0x320;

ExifBytes WithExifEntries(const std::vector<IfdEntry>& entries, int countField = -1) {
  ExifBytes f = StartExif(false);
  f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
  f.Ifd(0x40, entries, countField);
  f.TiffText(kOriginalAt, kOriginalText);
  f.TiffText(kDigitizedAt, kDigitizedText);
  f.Grow(2400);
  return f;
}

TEST(ExifReader, ChoiceBetweenOriginalAndDigitized) {
  const IfdEntry original = {kTagOriginal, kTypeAscii, 20, kOriginalAt};
  const IfdEntry digitized = {kTagDigitized, kTypeAscii, 20, kDigitizedAt};
  const IfdEntry originalPastHead = {kTagOriginal, kTypeAscii, 20, 2368};
  const IfdEntry digitizedPastHead = {kTagDigitized, kTypeAscii, 20, 5000};
  const IfdEntry other = {kTagExposure, 5, 1, 0};
  struct Case {
    const char* Name;
    std::vector<IfdEntry> Entries;
    int Code;
    const char* Date;
  } cases[] = {
      {"both ascending", {other, original, digitized}, 1, "20110502"},
      {"only digitized", {other, digitized}, 1, "20110503"},
      {"digitized first", {digitized, original}, 1, "20110502"},
      {"original ends the walk", {original, digitized}, 1, "20110502"},
      {"original past head keeps digitized", {digitized, originalPastHead}, 1, "20110503"},
      {"original past head ends the walk", {originalPastHead, digitized}, 0, " "},
      {"digitized past head skipped, walk goes on", {digitizedPastHead, original}, 1, "20110502"},
      {"later digitized after one past head", {digitizedPastHead, digitized}, 1, "20110503"},
      {"no date tag", {other}, 0, " "},
      {"empty Exif IFD", {}, 0, " "},
  };
  for (const Case& c : cases) {
    Parsed p = Parse(WithExifEntries(c.Entries).Bytes);
    EXPECT_EQ(p.Code, c.Code) << c.Name;
    EXPECT_EQ(p.Date, c.Date) << c.Name;
  }
}

TEST(ExifReader, DateValueBoundsCountFromTheTiffHeaderAgainst2400) {
  // The value must satisfy offset + count + 12 < 2400 and lie in the bytes read.
  struct Case {
    uint32_t Offset;
    uint32_t Count;
    size_t FileSize;
    int Code;
  } cases[] = {
      {2367, 20, 2400, 1},         // 2399: inside
      {2368, 20, 2400, 0},         // 2400: skipped
      {2367, 20, 2398, 0},         // inside the bound, but the file ends first
      {0xFFFFFFF0u, 20, 2400, 0},  // wraps in 32 bits
      {0x100, 0xFFFFFFF0u, 2400, 0},
      {0xFFFFFFFFu, 0xFFFFFFFFu, 2400, 0},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(false);
    f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
    f.Ifd(0x40, {{kTagOriginal, kTypeAscii, c.Count, c.Offset}});
    f.Grow(2400);
    if (c.Offset < 2400) f.PutText(f.Tiff + c.Offset, kOriginalText, 20);
    f.Bytes.resize(c.FileSize);
    Parsed p = Parse(f.Bytes);
    EXPECT_EQ(p.Code, c.Code) << c.Offset << " " << c.Count;
    EXPECT_EQ(p.Date, c.Code == 1 ? "20110502" : " ") << c.Offset;
  }
}

TEST(ExifReader, DateTextIsCheckedOnlyByItsFirstByteAndItsLength) {
  struct Case {
    const char* Text;
    uint32_t Count;
    int Code;
    const char* Date;
  } cases[] = {
      {"2011:05:02 10:15:30", 20, 1, "20110502"},
      {" 2011:05:02 10:15:3", 20, 0, " "},
      {":2011:05:02 10:15:3", 20, 0, " "},
      {"A011:05:02 10:15:30", 20, 0, " "},
      {"1999-12-31T23:59:59", 20, 1, "19991231"},  // separators are not checked
      {"2011:05:02", 10, 1, "20110502"},           // the shortest value that holds the day
      {"2011:05:0", 9, 0, " "},
      {"2", 1, 0, " "},
      {"", 0, 0, " "},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(true);
    f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
    f.Ifd(0x40, {{kTagOriginal, kTypeAscii, c.Count, 0x100}});
    f.TiffText(0x100, c.Text);
    f.Grow(600);
    Parsed p = Parse(f.Bytes);
    EXPECT_EQ(p.Code, c.Code) << c.Text;
    EXPECT_EQ(p.Date, c.Date) << c.Text;
  }
}

TEST(ExifReader, LongDateValueIsCutToTheEightyByteBuffer) {
  std::string text = "2012:07:14 09:00:00";
  text.append(200, 'x');
  ExifBytes f = StartExif(false);
  f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
  f.Ifd(0x40, {{kTagOriginal, kTypeAscii, static_cast<uint32_t>(text.size() + 1), 0x100}});
  f.TiffText(0x100, text.c_str());
  Parsed p = Parse(f.Bytes);
  EXPECT_EQ(p.Code, 1);
  EXPECT_EQ(p.Date, "20120714");
}

TEST(ExifReader, EntryCountsAreSigned16BitAndCutTo40) {
  // The Exif IFD pointer is entry `index` of IFD0, whose count field is `count`;
  // the entries before it are padding tags.
  struct Case {
    int Count;
    int Index;
    int Code;
  } cases[] = {
      {40, 39, 1}, {41, 39, 1}, {41, 40, 0}, {1000, 40, 0},
      {0x7FFF, 39, 1}, {0x8000, 0, 0}, {0xFFFF, 0, 0}, {0, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<IfdEntry> entries(static_cast<size_t>(c.Index), IfdEntry{kTagMake, kTypeAscii, 4, 0});
    entries.push_back({kTagExifIfd, kTypeLong, 1, 0x300});
    ExifBytes f = StartExif(false);
    f.Ifd(8, entries, c.Count);
    f.Ifd(0x300, {{kTagOriginal, kTypeAscii, 20, 0x380}});
    f.TiffText(0x380, kOriginalText);
    f.Grow(2400);
    EXPECT_EQ(Parse(f.Bytes).Code, c.Code) << c.Count << " " << c.Index;
  }
  // The same rule for the Exif IFD.
  for (const Case& c : cases) {
    std::vector<IfdEntry> entries(static_cast<size_t>(c.Index), IfdEntry{kTagExposure, 5, 1, 0});
    entries.push_back({kTagOriginal, kTypeAscii, 20, kOriginalAt});
    EXPECT_EQ(Parse(WithExifEntries(entries, c.Count).Bytes).Code, c.Code)
        << "Exif IFD " << c.Count << " " << c.Index;
  }
}

TEST(ExifReader, LastExifIfdPointerCounts) {
  const IfdEntry good = {kTagExifIfd, kTypeLong, 1, 0x40};
  const IfdEntry dateless = {kTagExifIfd, kTypeLong, 1, 0x200};
  const IfdEntry zero = {kTagExifIfd, kTypeLong, 1, 0};
  struct Case {
    const char* Name;
    std::vector<IfdEntry> Ifd0;
    int Code;
  } cases[] = {
      {"dateless last", {good, dateless}, 0},
      {"good last", {dateless, good}, 1},
      {"zero last", {good, zero}, 0},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(false);
    f.Ifd(8, c.Ifd0);
    f.Ifd(0x40, {{kTagOriginal, kTypeAscii, 20, 0x100}});
    f.Ifd(0x200, {{kTagExposure, 5, 1, 0}});
    f.TiffText(0x100, kOriginalText);
    EXPECT_EQ(Parse(f.Bytes).Code, c.Code) << c.Name;
  }
}

TEST(ExifReader, ExifIfdBeyondTheHeadGivesMinusFive) {
  struct Case {
    uint32_t Offset;
    size_t FileSize;
    int App0Length;
    int Code;
  } cases[] = {
      {2389, 3000, 0, -5},         // offset + 12 = 2401
      {0xFFFFFFF8u, 3000, 0, -5},  // offset + 12 wraps to 4
      {0xFFFFFFFFu, 3000, 0, -5},
      {2388, 3000, 0, -5},         // within the sum, but the count would sit at 2400
      {2386, 3000, 0, 0},          // the count is the last two bytes of the head; it is 0
      {1000, 1013, 0, -5},         // the file ends one byte into the count
      {2380, 3000, 16, -5},        // after JFIF the TIFF header lies at 30, not 12
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(false, c.App0Length);
    f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, c.Offset}});
    f.Grow(c.FileSize);
    Parsed p = Parse(f.Bytes);
    EXPECT_EQ(p.Code, c.Code) << c.Offset;
    EXPECT_EQ(p.Date, " ");
  }
}

TEST(ExifReader, ShortFilesNeverGiveADate) {
  const std::vector<uint8_t> file = CameraFile(false).Bytes;
  for (size_t n = 0; n <= 5; ++n) {
    std::vector<uint8_t> head(file.begin(), file.begin() + n);
    Parsed p = Parse(head);
    EXPECT_NE(p.Code, 1) << n;
    EXPECT_EQ(p.Date, " ") << n;
  }
  char date[kCaptureDateSize] = "XXXXXXXX";
  EXPECT_EQ(ParseCaptureDate(nullptr, 0, date), -1);
  EXPECT_STREQ(date, " ");
}

// Every prefix of a good file: no date until the whole DateTimeOriginal value
// has been read, and no result depends on a byte past the prefix.
TEST(ExifReader, EveryTruncationOfAGoodFile) {
  for (bool big : {false, true}) {
    for (int app0 : {0, 16}) {
      ExifBytes f = CameraFile(big, app0);
      const size_t needed = f.Tiff + 0x100 + 20;
      for (size_t n = 0; n <= f.Bytes.size(); ++n) {
        std::vector<uint8_t> prefix(f.Bytes.begin(), f.Bytes.begin() + n);
        Parsed p = Parse(prefix);
        EXPECT_EQ(p.Code == 1, n >= needed) << big << " " << app0 << " " << n;
        EXPECT_EQ(p.Date, n >= needed ? "20110502" : " ") << n;
        // What lies behind the prefix must not matter: once the rest of the
        // file, once bytes of 0xFF that would make every count negative and
        // every offset huge, once a valid date of another day.
        std::vector<uint8_t> behind = prefix;
        behind.resize(f.Bytes.size(), 0xFF);
        EXPECT_EQ(Parse(f.Bytes, n).Code, p.Code) << n;
        EXPECT_EQ(Parse(behind, n).Code, p.Code) << n;
      }
    }
  }
}

TEST(ExifReader, OnlyTheFirst2400BytesAreUsed) {
  // A date value placed past 2400 bytes is not read, however long the file.
  ExifBytes f = StartExif(false);
  f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
  f.Ifd(0x40, {{kTagDigitized, kTypeAscii, 20, 0x100}, {kTagOriginal, kTypeAscii, 20, 2500}});
  f.TiffText(0x100, kDigitizedText);
  f.TiffText(2500, kOriginalText);
  f.Grow(6000);
  Parsed p = Parse(f.Bytes);
  EXPECT_EQ(p.Code, 1);
  EXPECT_EQ(p.Date, "20110503");
}

TEST(ExifReader, IfdEntryThatRunsPastTheDataIsNotUsed) {
  // IFD0 claims three entries; the file ends inside the third, the pointer.
  ExifBytes f = StartExif(false);
  f.Ifd(8, {{kTagMake, kTypeAscii, 4, 0}, {kTagMake, kTypeAscii, 4, 0}, {kTagExifIfd, kTypeLong, 1, 0x40}});
  const size_t pointerEnd = f.Tiff + 10 + 36;
  for (size_t cut = pointerEnd - 11; cut < pointerEnd; ++cut) {
    std::vector<uint8_t> head(f.Bytes.begin(), f.Bytes.begin() + cut);
    EXPECT_EQ(Parse(head).Code, 0) << cut;
  }
}


// A file shorter than the head that ends inside a structure the walk needs
// gives no date, even when a date could be put together from what came
// before the end.
TEST(ExifReader, StructureCutByTheEndOfTheDataGivesNoDate) {
  // IFD0 declares five entries and is its own Exif IFD: its first entry
  // points back at offset 8, its second is DateTimeOriginal, whose text
  // lies where the third and fourth entries would be. The file ends after
  // the text, inside the fourth entry, so IFD0 is not wholly read.
  ExifBytes self = StartExif(false);
  self.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 8}, {kTagOriginal, kTypeAscii, 20, 34}}, 5);
  self.PutText(self.Tiff + 34, kOriginalText, 20);
  self.Bytes.resize(self.Tiff + 54);
  EXPECT_EQ(Parse(self.Bytes).Code, 0);
  EXPECT_EQ(Parse(self.Bytes).Date, " ");
  // The same bytes in a file that goes on to its fifth entry give the date:
  // the cut was the only fault.
  ExifBytes whole = self;
  whole.Grow(self.Tiff + 10 + 60 + 4);
  EXPECT_EQ(Parse(whole.Bytes).Code, 1);
  EXPECT_EQ(Parse(whole.Bytes).Date, "20110502");

  // DateTimeDigitized's text lies between IFD0 and the Exif IFD, so it is
  // read whichever way the file is cut below. DateTimeOriginal's value is
  // within offset + count + 12 < 2400 but past the end of a 1000-byte file.
  const IfdEntry digitized = {kTagDigitized, kTypeAscii, 20, 0x20};
  const IfdEntry originalPastData = {kTagOriginal, kTypeAscii, 20, 1500};
  const IfdEntry digitizedPastData = {kTagDigitized, kTypeAscii, 20, 1500};
  struct Case {
    const char* Name;
    std::vector<IfdEntry> Entries;
    int CountField;
  } cases[] = {
      {"original past the data after digitized", {digitized, originalPastData}, -1},
      {"digitized past the data before another", {digitizedPastData, digitized}, -1},
      {"Exif IFD cut after a digitized entry", {digitized}, 3},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(false);
    f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
    f.Ifd(0x40, c.Entries, c.CountField);
    f.TiffText(0x20, kDigitizedText);
    f.Grow(1000);
    if (c.CountField > 0) f.Bytes.resize(f.Tiff + 0x40 + 2 + 12 + 6);  // inside the second entry
    Parsed p = Parse(f.Bytes);
    EXPECT_EQ(p.Code, 0) << c.Name;
    EXPECT_EQ(p.Date, " ") << c.Name;
  }
  // A value cut the same way in a file of 2400 bytes or more lies inside
  // the head and is read.
  ExifBytes longFile = StartExif(false);
  longFile.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
  longFile.Ifd(0x40, {digitized, originalPastData});
  longFile.TiffText(0x20, kDigitizedText);
  longFile.TiffText(1500, kOriginalText);
  longFile.Grow(3000);
  EXPECT_EQ(Parse(longFile.Bytes).Date, "20110502");
}

}  // namespace
