#include "photo/exif_reader.h"

#include <cstring>

namespace {

enum : uint16_t {
  kTagOrientation = 0x0112,
  kTagThumbnailOffset = 0x0201,
  kTagThumbnailLength = 0x0202,
  kTagPixelXDimension = 0xA002,
  kTagPixelYDimension = 0xA003,
  kTagExifIfdPointer = 0x8769,
  kTagDateTimeOriginal = 0x9003,
  kTagDateTimeDigitized = 0x9004,
};

// The TIFF structure of the EXIF segment and its byte order. Positions count
// from the TIFF header and are 64-bit, so that adding a 32-bit offset from
// the file to one can never wrap; the view ends where the segment ends.
struct TiffView {
  const unsigned char* Bytes;
  uint64_t Length;
  bool BigEndian;
};

// True when `width` bytes from `position` lie wholly inside the segment.
bool Holds(const TiffView& tiff, uint64_t position, uint64_t width) {
  return position <= tiff.Length && width <= tiff.Length - position;
}

// Callers check Holds() first.
uint16_t Read16(const TiffView& tiff, uint64_t position) {
  const unsigned char* p = tiff.Bytes + position;
  return tiff.BigEndian ? static_cast<uint16_t>((p[0] << 8) | p[1])
                        : static_cast<uint16_t>((p[1] << 8) | p[0]);
}

uint32_t Read32(const TiffView& tiff, uint64_t position) {
  const unsigned char* p = tiff.Bytes + position;
  if (tiff.BigEndian) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
  }
  return (static_cast<uint32_t>(p[3]) << 24) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

bool IsFrameHeader(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RST0-RST7, SOI, EOI.
bool HasNoLength(unsigned char marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9);
}

// The EXIF segment's TIFF view with its byte order, or the negative code.
int OpenTiff(const unsigned char* bytes, const JpegLayout& layout, TiffView* tiff) {
  if (!layout.Jpeg) return kCaptureDateNotJpeg;
  if (!layout.ExifFound || !layout.ExifWhole) return kCaptureDateNoExif;
  tiff->Bytes = bytes + layout.TiffStart;
  tiff->Length = layout.TiffLength;
  tiff->BigEndian = false;
  if (!Holds(*tiff, 0, 2)) return kCaptureDateBadOrder;
  if (tiff->Bytes[0] == 'I' && tiff->Bytes[1] == 'I') return 1;
  if (tiff->Bytes[0] == 'M' && tiff->Bytes[1] == 'M') {
    tiff->BigEndian = true;
    return 1;
  }
  return kCaptureDateBadOrder;
}

// IFD0 lies where the TIFF header's offset puts it; 0 (no IFD) when the
// segment does not hold the header's offset.
uint64_t Ifd0Position(const TiffView& tiff) { return Holds(tiff, 4, 4) ? Read32(tiff, 4) : 0; }

// A SHORT or LONG number held in the entry itself; 0 for any other type.
uint32_t EntryNumber(const TiffView& tiff, uint64_t entry) {
  const uint16_t type = Read16(tiff, entry + 2);
  if (type == 3) return Read16(tiff, entry + 8);
  if (type == 4) return Read32(tiff, entry + 8);
  return 0;
}

// The one walk of an IFD's entries, for IFD0 and every other IFD alike. The
// entry count is a signed 16-bit number: 0x8000 and above mean no entries,
// and more than 40 are never walked. `take(tag, entry)` sees each entry in
// order and returns false to end the walk there. False when the IFD is
// damaged: its count or an entry the walk reaches lies outside the segment.
// Nothing from a damaged IFD may count, so callers drop what they took.
template <typename Take>
bool WalkIfd(const TiffView& tiff, uint64_t ifd, Take take) {
  if (!Holds(tiff, ifd, 2)) return false;
  int count = static_cast<int16_t>(Read16(tiff, ifd));
  if (count > kExifIfdEntryCap) count = kExifIfdEntryCap;
  for (int i = 0; i < count; ++i) {
    const uint64_t entry = ifd + 2 + 12 * static_cast<uint64_t>(i);
    if (!Holds(tiff, entry, 12)) return false;
    if (!take(Read16(tiff, entry), entry)) break;
  }
  return true;
}

// What IFD0 gives; the last entry of a tag counts. All zero but Orientation
// 1 when IFD0 is absent or damaged.
struct Ifd0Facts {
  int Orientation;   // 1 to 8; 1 when absent or unknown
  uint32_t ExifIfd;  // the Exif IFD pointer's offset, 0: none
  uint32_t Ifd1;     // the link to IFD1, 0: none
};

Ifd0Facts ReadIfd0(const TiffView& tiff) {
  Ifd0Facts facts = {1, 0, 0};
  const uint64_t ifd0 = Ifd0Position(tiff);
  if (ifd0 == 0) return facts;
  uint32_t orientation = 1;
  uint32_t exifIfd = 0;
  const bool whole = WalkIfd(tiff, ifd0, [&](uint16_t tag, uint64_t entry) {
    if (tag == kTagOrientation) orientation = EntryNumber(tiff, entry);
    if (tag == kTagExifIfdPointer) exifIfd = Read32(tiff, entry + 8);
    return true;
  });
  if (!whole) return facts;
  facts.Orientation = orientation >= 1 && orientation <= 8 ? static_cast<int>(orientation) : 1;
  facts.ExifIfd = exifIfd;
  // The link sits right after the entries, so it alone follows the real
  // count, unsigned and uncut.
  const uint64_t link = ifd0 + 2 + 12 * static_cast<uint64_t>(Read16(tiff, ifd0));
  if (Holds(tiff, link, 4)) facts.Ifd1 = Read32(tiff, link);
  return facts;
}

}  // namespace

JpegLayout WalkJpegMarkers(const unsigned char* bytes, size_t length, bool toFrame) {
  JpegLayout layout = {};
  if (bytes == nullptr || length < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return layout;
  layout.Jpeg = true;
  uint64_t position = 2;
  while (position < length) {
    // Stray bytes between segments are passed over to the next FF, as
    // decoders do.
    if (bytes[position] != 0xFF) {
      ++position;
      continue;
    }
    while (position + 1 < length && bytes[position + 1] == 0xFF) ++position;  // fill bytes
    if (position + 4 > length) break;
    const unsigned char marker = bytes[position + 1];
    if (marker == 0xDA || HasNoLength(marker) || marker == 0x00) break;
    const uint64_t segmentLength = (static_cast<uint64_t>(bytes[position + 2]) << 8) | bytes[position + 3];
    const uint64_t data = position + 4;
    const uint64_t end = position + 2 + segmentLength;
    if (IsFrameHeader(marker)) {
      // Precision, then the height and the width, big-endian.
      if (toFrame && segmentLength >= 7 && end <= length) {
        layout.FrameFound = true;
        layout.FrameHeight = (static_cast<uint32_t>(bytes[data + 1]) << 8) | bytes[data + 2];
        layout.FrameWidth = (static_cast<uint32_t>(bytes[data + 3]) << 8) | bytes[data + 4];
      }
      break;
    }
    if (segmentLength < 2) break;
    // The identifier and its two zero bytes lie inside the segment. Only the
    // first EXIF segment counts.
    if (!layout.ExifFound && marker == 0xE1 && segmentLength >= 8 && data + 4 <= length &&
        (memcmp(bytes + data, "Exif", 4) == 0 || memcmp(bytes + data, "EXIF", 4) == 0)) {
      layout.ExifFound = true;
      layout.ExifWhole = end <= length;
      layout.TiffStart = data + 6;
      layout.TiffLength = end - layout.TiffStart;
      if (!toFrame) break;
    }
    position = end;
  }
  return layout;
}

PhotoFacts ReadPhotoFacts(const unsigned char* bytes, size_t length) {
  PhotoFacts facts = {};
  facts.Orientation = 1;
  const JpegLayout layout = WalkJpegMarkers(bytes, length, true);
  facts.FrameFound = layout.FrameFound;
  facts.FrameWidth = layout.FrameWidth;
  facts.FrameHeight = layout.FrameHeight;
  TiffView tiff;
  if (OpenTiff(bytes, layout, &tiff) != 1) return facts;
  facts.ExifWhole = true;
  const Ifd0Facts ifd0 = ReadIfd0(tiff);
  facts.Orientation = ifd0.Orientation;
  uint32_t pixelWidth = 0, pixelHeight = 0;
  if (ifd0.ExifIfd != 0 && WalkIfd(tiff, ifd0.ExifIfd, [&](uint16_t tag, uint64_t entry) {
        if (tag == kTagPixelXDimension) pixelWidth = EntryNumber(tiff, entry);
        if (tag == kTagPixelYDimension) pixelHeight = EntryNumber(tiff, entry);
        return true;
      })) {
    facts.PixelWidth = pixelWidth;
    facts.PixelHeight = pixelHeight;
  }
  uint64_t offset = 0;
  uint64_t thumbnailLength = 0;
  if (ifd0.Ifd1 == 0 || !WalkIfd(tiff, ifd0.Ifd1, [&](uint16_t tag, uint64_t entry) {
        if (tag == kTagThumbnailOffset) offset = EntryNumber(tiff, entry);
        if (tag == kTagThumbnailLength) thumbnailLength = EntryNumber(tiff, entry);
        return true;
      })) {
    return facts;
  }
  if (offset == 0 || thumbnailLength == 0 || !Holds(tiff, offset, thumbnailLength)) return facts;
  const JpegLayout thumbnail = WalkJpegMarkers(tiff.Bytes + offset, thumbnailLength, true);
  if (!thumbnail.FrameFound || thumbnail.FrameWidth == 0 || thumbnail.FrameHeight == 0) return facts;
  facts.ThumbnailStart = layout.TiffStart + offset;
  facts.ThumbnailLength = thumbnailLength;
  facts.ThumbnailWidth = thumbnail.FrameWidth;
  facts.ThumbnailHeight = thumbnail.FrameHeight;
  return facts;
}

int ParseCaptureDate(const unsigned char* bytes, size_t length, char* dateText) {
  dateText[0] = ' ';
  dateText[1] = '\0';
  TiffView tiff;
  const int opened = OpenTiff(bytes, WalkJpegMarkers(bytes, length), &tiff);
  if (opened != 1) return opened;

  // The last Exif IFD pointer of IFD0 counts; a damaged IFD0 has none.
  const uint32_t exifIfd = ReadIfd0(tiff).ExifIfd;
  if (exifIfd == 0) return kCaptureDateMissing;
  if (!Holds(tiff, exifIfd, 2)) return kCaptureDateIfdBeyondHead;

  // DateTimeOriginal ends the walk; a DateTimeDigitized before it is kept
  // only when the original's value cannot be taken. A value that the
  // segment does not hold is skipped and the walk goes on.
  char value[kExifDateValueSize];
  uint64_t valueLength = 0;
  bool taken = false;
  const bool whole = WalkIfd(tiff, exifIfd, [&](uint16_t tag, uint64_t entry) {
    if (tag == kTagDateTimeOriginal || tag == kTagDateTimeDigitized) {
      const uint64_t count = Read32(tiff, entry + 4);
      const uint64_t offset = Read32(tiff, entry + 8);
      if (Holds(tiff, offset, count)) {
        valueLength = count < kExifDateValueSize ? count : kExifDateValueSize;
        memcpy(value, tiff.Bytes + offset, static_cast<size_t>(valueLength));
        taken = true;
      }
    }
    return tag != kTagDateTimeOriginal;
  });
  if (!whole || !taken) return kCaptureDateMissing;

  // "YYYY:MM:DD HH:MM:SS": only the first byte is checked; a value too short
  // to hold the day is no date at all.
  if (valueLength < 10) return kCaptureDateMissing;
  if (value[0] < '0' || value[0] > '9') return kCaptureDateMissing;
  const int picks[8] = {0, 1, 2, 3, 5, 6, 8, 9};
  for (int i = 0; i < 8; ++i) dateText[i] = value[picks[i]];
  dateText[8] = '\0';
  return kCaptureDateFound;
}
