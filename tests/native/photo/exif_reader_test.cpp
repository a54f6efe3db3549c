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

// The walk passes every segment with a length, and stray bytes between
// segments, to the EXIF one; and on past a Huffman table to the frame header.
TEST(ExifReader, FindsTheExifSegmentBehindOtherSegments) {
  const Segment jfif200 = {0xFFE0, 200, kJfif16.Data, 14};
  const Segment xmp = {0xFFE1, 300, "http://ns.adobe.com/xap/1.0/\0", 29};
  const Segment icc = {0xFFE2, 600, "ICC_PROFILE\0\1\1", 14};
  const Segment quantisation = {0xFFDB, 67, "\0", 1};
  const Segment huffman = {0xFFC4, 31, "\0", 1};
  const Segment bare = {0xFFE1, 2, "", 0};  // a segment that is only its length
  const Segment strayByte = {0, 1, "", 0};
  struct Case {
    const char* Name;
    std::vector<Segment> Before;
    int Code;
  } cases[] = {
      {"JFIF of 16 bytes", {kJfif16}, 1},
      {"JFIF of 200 bytes", {jfif200}, 1},
      {"XMP APP1 first", {kJfif16, xmp}, 1},
      {"ICC APP2 first", {icc, kJfif16}, 1},
      {"quantisation table, empty APP1", {quantisation, bare}, 1},
      {"Huffman table first", {huffman, kJfif16}, 1},
      {"a stray byte between JFIF and EXIF", {kJfif16, strayByte}, 1},
  };
  for (const Case& c : cases) {
    for (bool big : {false, true}) {
      ExifBytes f = StartExifAfter(big, c.Before);
      f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
      f.Ifd(0x40, {{kTagOriginal, kTypeAscii, 20, 0x100}});
      f.TiffText(0x100, kOriginalText);
      f.EndSegmentAt(f.Bytes.size());
      // A Huffman table, then the frame header.
      const std::vector<uint8_t> frame = TinyJpeg(6000, 4000);
      f.Bytes.insert(f.Bytes.end(), {0xFF, 0xC4, 0x00, 0x03, 0x00});
      f.Bytes.insert(f.Bytes.end(), frame.begin() + 2, frame.end());
      Parsed p = Parse(f.Bytes);
      EXPECT_EQ(p.Code, c.Code) << c.Name;
      EXPECT_EQ(p.Date, "20110502") << c.Name;
      const PhotoFacts facts = ReadPhotoFacts(f.Bytes.data(), f.Bytes.size());
      EXPECT_TRUE(facts.FrameFound) << c.Name;
      EXPECT_EQ(facts.FrameWidth, 6000u) << c.Name;
      EXPECT_EQ(facts.FrameHeight, 4000u) << c.Name;
    }
  }
}

// An identifier inside another segment's data, or after the picture data
// begins, is not the EXIF segment.
TEST(ExifReader, OnlyASegmentOfItsOwnIsTheExifSegment) {
  ExifBytes inside = CameraFile(false, 40);
  inside.Bytes[inside.LengthField - 2 + 1] = 0xE2;  // the EXIF segment becomes APP2
  inside.PutText(20, "Exif\0\0", 6);               // and JFIF data holds the word
  EXPECT_EQ(Parse(inside.Bytes).Code, -3);
  const std::vector<Segment> beforeFrame = {{0xFFC0, 17, "\x08\x00\x10\x00\x10", 5}};
  ExifBytes afterFrame = StartExifAfter(false, beforeFrame);
  afterFrame.Ifd(8, {});
  EXPECT_EQ(Parse(afterFrame.Bytes).Code, -3);
  ExifBytes withFill = StartExifAfter(false, {kJfif16});
  withFill.Ifd(8, {});
  withFill.Bytes.insert(withFill.Bytes.begin() + 20, {0xFF, 0xFF});  // fill bytes before APP1
  EXPECT_EQ(Parse(withFill.Bytes).Code, 0);
}

// IFD0 lies where the TIFF header's offset puts it, not always at 8.
TEST(ExifReader, Ifd0AtTheHeadersOffset) {
  for (uint32_t ifd0 : {8u, 0x60u, 0x200u}) {
    ExifBytes f = StartExifAfter(ifd0 > 0x100, {kJfif16}, "Exif", nullptr, ifd0);
    f.Ifd(ifd0, {{kTagMake, kTypeAscii, 6, 0x10}, {kTagExifIfd, kTypeLong, 1, 0x120}});
    f.Ifd(0x120, {{kTagOriginal, kTypeAscii, 20, 0x1A0}});
    f.TiffText(0x1A0, kOriginalText);
    EXPECT_EQ(Parse(f.Bytes).Date, "20110502") << ifd0;
  }
}

TEST(ExifReader, StructureOfTheHeadGivesItsResultCode) {
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
  std::vector<uint8_t> quantisation = CameraFile(false).Bytes;
  quantisation[3] = 0xDB;  // the only segment is then no EXIF one
  std::vector<uint8_t> startTruncated = CameraFile(false).Bytes;
  startTruncated[1] = 0xD9;
  struct Case {
    const char* Name;
    std::vector<uint8_t> Bytes;
    int Code;
  } cases[] = {
      {"png", png, -1},
      {"not FF D8", startTruncated, -1},
      {"FF DB instead of APP1", quantisation, -3},
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

// Orientation as SHORT or LONG by its type; the last entry counts.
TEST(ExifReader, OrientationOfIfd0) {
  struct Case {
    bool Big;
    uint16_t Type;
    int Value;  // -1: no Orientation entry
    int Orientation;
    int Later;  // a second Orientation entry after the first; 0: none
  } cases[] = {
      {false, kTypeShort, 6, 6}, {true, kTypeShort, 8, 8}, {false, kTypeShort, -1, 1},
      {true, kTypeShort, 9, 1},  {false, kTypeLong, 6, 6},  {true, kTypeLong, 6, 6},
      {true, kTypeShort, 6, 8, 8},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(c.Big);
    std::vector<IfdEntry> ifd0 = {{kTagMake, kTypeAscii, 6, 0x80}};
    // A SHORT value is left-justified in the value field.
    const bool shifted = c.Big && c.Type == kTypeShort;
    const uint32_t value = shifted ? static_cast<uint32_t>(c.Value) << 16 : static_cast<uint32_t>(c.Value);
    if (c.Value >= 0) ifd0.push_back({0x0112, c.Type, 1, value});
    const uint32_t later = shifted ? static_cast<uint32_t>(c.Later) << 16 : static_cast<uint32_t>(c.Later);
    if (c.Later != 0) ifd0.push_back({0x0112, c.Type, 1, later});
    f.Ifd(8, ifd0);
    f.Grow(400);
    EXPECT_EQ(ReadPhotoFacts(f.Bytes.data(), f.Bytes.size()).Orientation, c.Orientation)
        << c.Big << " " << c.Type << " " << c.Value;
  }
}

// The camera's thumbnail: IFD1 through IFD0's link, which follows IFD0's
// real entry count; IFD1 walked by the rule of every IFD; offset and length
// bounded to the segment; its size from its own frame header. Then the
// photo's own frame header past the segment.
TEST(ExifReader, ThumbnailAndFrameHeader) {
  const uint16_t kOffset = 0x0201, kLength = 0x0202;
  const std::vector<uint8_t> thumbnail = TinyJpeg(160, 120);
  const uint32_t size = static_cast<uint32_t>(thumbnail.size());
  struct Case {
    const char* Name;
    int Ifd0Entries;  // padding entries in IFD0, after the Exif IFD pointer
    uint32_t Link;    // IFD0's link to IFD1
    uint32_t Offset, Length;
    bool Frame;       // the thumbnail's bytes hold a frame header
    uint64_t Expected;  // the thumbnail's length found, 0 for none
    int Ifd1Count;    // IFD1's count field; 0: its real count
  } cases[] = {
      {"typical", 1, 0x200, 0x300, size, true, size},
      {"IFD0 past the 40-entry cap", 45, 0x400, 0x500, size, true, size},
      {"thumbnail ends with the segment", 1, 0x200, 0x600 - size, size, true, size},
      {"thumbnail one byte past it", 1, 0x200, 0x601 - size, size, true, 0},
      {"offset that wraps", 1, 0x200, 0xFFFFFFF0u, size, true, 0},
      {"length that wraps", 1, 0x200, 0x300, 0xFFFFFFFFu, true, 0},
      {"no length", 1, 0x200, 0x300, 0, true, 0},
      {"no frame header in it", 1, 0x200, 0x300, size, false, 0},
      {"link outside the segment", 1, 0x9000, 0x300, size, true, 0},
      {"no IFD1", 1, 0, 0x300, size, true, 0},
      {"IFD1 with entries past the segment", 1, 0x5A0, 0x300, size, true, 0, 40},
      {"IFD1 with a count of 0x8000", 1, 0x200, 0x300, size, true, 0, 0x8000},
  };
  for (const Case& c : cases) {
    for (bool big : {false, true}) {
      ExifBytes f = StartExif(big, 16);
      std::vector<IfdEntry> ifd0 = {{0x0112, 3, 1, big ? 6u << 16 : 6u}, {kTagExifIfd, kTypeLong, 1, 0x1C0}};
      ifd0.resize(static_cast<size_t>(c.Ifd0Entries) + 2, IfdEntry{kTagMake, kTypeAscii, 4, 0});
      f.Ifd(8, ifd0, -1, c.Link);
      f.Ifd(0x1C0, {{0xA002, 3, 1, big ? 6000u << 16 : 6000u}, {0xA003, kTypeLong, 1, 4000}});
      const int ifd1Count = c.Ifd1Count != 0 ? c.Ifd1Count : -1;
      if (c.Link != 0 && c.Link < 0x600) f.Ifd(c.Link, {{0x0103, 3, 1, 6}, {kOffset, kTypeLong, 1, c.Offset}, {kLength, kTypeLong, 1, c.Length}}, ifd1Count);
      std::vector<uint8_t> bytes = thumbnail;
      if (!c.Frame) bytes[3] = 0xDB;
      if (c.Offset < 0x600) f.PutText(f.Tiff + c.Offset, reinterpret_cast<const char*>(bytes.data()), bytes.size());
      f.EndSegmentAt(f.Tiff + 0x600);
      const std::vector<uint8_t> photo = TinyJpeg(6000, 4000);
      f.Bytes.resize(f.Tiff + 0x600);
      f.Bytes.insert(f.Bytes.end(), photo.begin() + 2, photo.end());
      const PhotoFacts facts = ReadPhotoFacts(f.Bytes.data(), f.Bytes.size());
      EXPECT_EQ(facts.ThumbnailLength, c.Expected) << c.Name << " " << big;
      if (c.Expected != 0) {
        EXPECT_EQ(facts.ThumbnailStart, f.Tiff + c.Offset) << c.Name;
        EXPECT_EQ(facts.ThumbnailWidth, 160u) << c.Name;
        EXPECT_EQ(facts.ThumbnailHeight, 120u) << c.Name;
      }
      EXPECT_TRUE(facts.FrameFound && facts.ExifWhole) << c.Name;
      EXPECT_EQ(facts.FrameWidth, 6000u) << c.Name;
      EXPECT_EQ(facts.FrameHeight, 4000u) << c.Name;
      EXPECT_EQ(facts.PixelWidth, 6000u) << c.Name;
      EXPECT_EQ(facts.PixelHeight, 4000u) << c.Name;
      EXPECT_EQ(facts.Orientation, 6) << c.Name;
    }
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
  f.EndSegmentAt(f.Tiff + 2300);
  f.Grow(f.Tiff + 2400);
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
      {"original outside the segment keeps digitized", {digitized, originalPastHead}, 1, "20110503"},
      {"original outside the segment ends the walk", {originalPastHead, digitized}, 0, " "},
      {"digitized outside skipped, walk goes on", {digitizedPastHead, original}, 1, "20110502"},
      {"later digitized after one outside", {digitizedPastHead, digitized}, 1, "20110503"},
      {"no date tag", {other}, 0, " "},
      {"empty Exif IFD", {}, 0, " "},
  };
  for (const Case& c : cases) {
    Parsed p = Parse(WithExifEntries(c.Entries).Bytes);
    EXPECT_EQ(p.Code, c.Code) << c.Name;
    EXPECT_EQ(p.Date, c.Date) << c.Name;
  }
}

TEST(ExifReader, DateValueMustLieInsideTheSegment) {
  // The segment ends `SegmentEnd` bytes past the TIFF header; the file goes on.
  struct Case {
    uint32_t Offset;
    uint32_t Count;
    uint32_t SegmentEnd;
    int Code;
  } cases[] = {
      {2367, 20, 2387, 1},          // ends with the segment
      {2368, 20, 2387, 0},          // one byte past it: skipped
      {3000, 20, 3100, 1},          // past byte 2400 of the file
      {60000, 20, 60100, 1},
      {0xFFFFFFF0u, 20, 3100, 0},   // wraps in 32 bits
      {0x100, 0xFFFFFFF0u, 3100, 0},
      {0xFFFFFFFFu, 0xFFFFFFFFu, 3100, 0},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(false);
    f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
    f.Ifd(0x40, {{kTagOriginal, kTypeAscii, c.Count, c.Offset}});
    f.EndSegmentAt(f.Tiff + c.SegmentEnd);
    f.Grow(f.Tiff + 61000);
    if (c.Offset < 61000) f.PutText(f.Tiff + c.Offset, kOriginalText, 20);
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

// One rule for every walk of IFD0: the date's Exif IFD pointer, the
// preview's (for the pixel dimensions) and its link to IFD1, which follows
// the entries actually there (`index` + 1 of them).
TEST(ExifReader, EntryCountsAreSigned16BitAndCutTo40) {
  // The Exif IFD pointer is entry `index` of IFD0, whose count field is `count`;
  // the entries before it are padding tags.
  struct Case {
    int Count;
    int Index;
    int Code;
    bool Thumbnail;  // the link after the entries leads to the thumbnail
  } cases[] = {
      {40, 39, 1, true},     {41, 39, 1, false},     {41, 40, 0, true},      {1000, 40, 0, false},
      {0x7FFF, 39, 1, false}, {0x8000, 0, 0, false}, {0xFFFF, 0, 0, false}, {0, 0, 0, false},
  };
  const std::vector<uint8_t> thumbnail = TinyJpeg(160, 120);
  for (const Case& c : cases) {
    std::vector<IfdEntry> entries(static_cast<size_t>(c.Index), IfdEntry{kTagMake, kTypeAscii, 4, 0});
    entries.push_back({kTagExifIfd, kTypeLong, 1, 0x300});
    ExifBytes f = StartExif(false);
    f.Ifd(8, entries, c.Count, 0x400);
    f.Ifd(0x300, {{kTagOriginal, kTypeAscii, 20, 0x380}, {0xA002, kTypeLong, 1, 6000}});
    f.TiffText(0x380, kOriginalText);
    f.Ifd(0x400, {{0x0201, kTypeLong, 1, 0x440}, {0x0202, kTypeLong, 1, static_cast<uint32_t>(thumbnail.size())}});
    f.PutText(f.Tiff + 0x440, reinterpret_cast<const char*>(thumbnail.data()), thumbnail.size());
    EXPECT_EQ(Parse(f.Bytes).Code, c.Code) << c.Count << " " << c.Index;
    const PhotoFacts facts = ReadPhotoFacts(f.Bytes.data(), f.Bytes.size());
    EXPECT_EQ(facts.PixelWidth, c.Code == 1 ? 6000u : 0u) << c.Count << " " << c.Index;
    EXPECT_EQ(facts.ThumbnailLength != 0, c.Thumbnail) << c.Count << " " << c.Index;
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

TEST(ExifReader, ExifIfdOutsideTheSegmentGivesMinusFive) {
  // The segment ends 2400 bytes past the TIFF header; the file goes on to 3000.
  struct Case {
    uint32_t Offset;
    int Code;
  } cases[] = {
      {2399, -5},         // the count would run one byte past the segment
      {2398, 0},          // the count is the segment's last two bytes; it is 0
      {2600, -5},         // inside the file, outside the segment
      {0xFFFFFFF8u, -5},  // wraps
      {0xFFFFFFFFu, -5},
  };
  for (const Case& c : cases) {
    ExifBytes f = StartExif(false, 16);
    f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, c.Offset}});
    f.EndSegmentAt(f.Tiff + 2400);
    f.Grow(3000);
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

TEST(ExifReader, DatePastByte2400IsRead) {
  ExifBytes f = StartExif(false);
  f.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
  f.Ifd(0x40, {{kTagDigitized, kTypeAscii, 20, 0x100}, {kTagOriginal, kTypeAscii, 20, 2500}});
  f.TiffText(0x100, kDigitizedText);
  f.TiffText(2500, kOriginalText);
  f.Grow(6000);
  Parsed p = Parse(f.Bytes);
  EXPECT_EQ(p.Code, 1);
  EXPECT_EQ(p.Date, "20110502");
}

TEST(ExifReader, IfdEntryThatRunsPastTheSegmentIsNotUsed) {
  // IFD0 claims three entries; the segment ends inside the third, the pointer.
  ExifBytes f = StartExif(false);
  f.Ifd(8, {{kTagMake, kTypeAscii, 4, 0}, {kTagMake, kTypeAscii, 4, 0}, {kTagExifIfd, kTypeLong, 1, 0x40}});
  f.Ifd(0x40, {{kTagOriginal, kTypeAscii, 20, 0x100}});
  f.TiffText(0x100, kOriginalText);
  const size_t pointerEnd = f.Tiff + 10 + 36;
  for (size_t cut = pointerEnd - 11; cut < pointerEnd; ++cut) {
    f.EndSegmentAt(cut);
    EXPECT_EQ(Parse(f.Bytes).Code, 0) << cut;
  }
}


// A segment that ends inside a structure the walk needs gives no date, even
// when a date could be put together from what came before the end.
TEST(ExifReader, StructureCutByTheEndOfTheSegmentGivesNoDate) {
  // IFD0 declares five entries and is its own Exif IFD: its first entry
  // points back at offset 8, its second is DateTimeOriginal, whose text
  // lies where the third and fourth entries would be. The segment ends
  // after the text, inside the fourth entry.
  ExifBytes self = StartExif(false);
  self.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 8}, {kTagOriginal, kTypeAscii, 20, 34}}, 5);
  self.PutText(self.Tiff + 34, kOriginalText, 20);
  self.EndSegmentAt(self.Tiff + 54);
  self.Grow(self.Tiff + 200);
  EXPECT_EQ(Parse(self.Bytes).Code, 0);
  EXPECT_EQ(Parse(self.Bytes).Date, " ");
  // The same segment going on to the fifth entry gives the date.
  self.EndSegmentAt(self.Tiff + 10 + 60 + 4);
  EXPECT_EQ(Parse(self.Bytes).Code, 1);
  EXPECT_EQ(Parse(self.Bytes).Date, "20110502");
}

}  // namespace
