#include "photo/exif_reader.h"

#include <cstring>

namespace {

enum : uint16_t {
  kTagOrientation = 0x0112,
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

// An IFD's entry count is a signed 16-bit number: 0x8000 and above mean no
// entries, and more than 40 are never walked. A count the segment does not
// hold walks nothing.
int EntryCount(const TiffView& tiff, uint64_t position) {
  if (!Holds(tiff, position, 2)) return 0;
  int count = static_cast<int16_t>(Read16(tiff, position));
  if (count < 0) return 0;
  return count > kExifIfdEntryCap ? kExifIfdEntryCap : count;
}

bool IsFrameHeader(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RST0-RST7, SOI, EOI.
bool HasNoLength(unsigned char marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9);
}

// The EXIF segment's TIFF view with its byte order, or the negative code.
int OpenTiff(const unsigned char* bytes, size_t length, TiffView* tiff) {
  const JpegLayout layout = WalkJpegMarkers(bytes, length);
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

}  // namespace

JpegLayout WalkJpegMarkers(const unsigned char* bytes, size_t length) {
  JpegLayout layout = {};
  if (bytes == nullptr || length < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return layout;
  layout.Jpeg = true;
  uint64_t position = 2;
  while (position < length && bytes[position] == 0xFF) {
    while (position + 1 < length && bytes[position + 1] == 0xFF) ++position;  // fill bytes
    if (position + 4 > length) break;
    const unsigned char marker = bytes[position + 1];
    if (marker == 0xDA || IsFrameHeader(marker) || HasNoLength(marker) || marker == 0x00) break;
    const uint64_t segmentLength = (static_cast<uint64_t>(bytes[position + 2]) << 8) | bytes[position + 3];
    if (segmentLength < 2) break;
    const uint64_t data = position + 4;
    const uint64_t end = position + 2 + segmentLength;
    // The identifier and its two zero bytes lie inside the segment.
    if (marker == 0xE1 && segmentLength >= 8 && data + 4 <= length &&
        (memcmp(bytes + data, "Exif", 4) == 0 || memcmp(bytes + data, "EXIF", 4) == 0)) {
      layout.ExifFound = true;
      layout.ExifWhole = end <= length;
      layout.TiffStart = data + 6;
      layout.TiffLength = end - layout.TiffStart;
      break;
    }
    position = end;
  }
  return layout;
}

int ParseOrientation(const unsigned char* bytes, size_t length) {
  TiffView tiff;
  if (OpenTiff(bytes, length, &tiff) != 1) return 1;
  const uint64_t ifd0 = Ifd0Position(tiff);
  if (ifd0 == 0) return 1;
  const int count = EntryCount(tiff, ifd0);
  for (int i = 0; i < count; ++i) {
    const uint64_t entry = ifd0 + 2 + 12 * static_cast<uint64_t>(i);
    if (!Holds(tiff, entry, 12)) return 1;
    if (Read16(tiff, entry) == kTagOrientation) {
      // A SHORT value sits in the first two bytes of the value field.
      const int value = Read16(tiff, entry + 8);
      return value >= 1 && value <= 8 ? value : 1;
    }
  }
  return 1;
}

int ParseCaptureDate(const unsigned char* bytes, size_t length, char* dateText) {
  dateText[0] = ' ';
  dateText[1] = '\0';
  TiffView tiff;
  const int opened = OpenTiff(bytes, length, &tiff);
  if (opened != 1) return opened;

  // Every entry of IFD0 is visited and the last Exif IFD pointer wins. An
  // IFD that the segment does not wholly hold is no IFD: a pointer found
  // before its end might have been replaced by a later one.
  uint32_t exifIfd = 0;
  const uint64_t ifd0 = Ifd0Position(tiff);
  const int ifd0Count = ifd0 == 0 ? 0 : EntryCount(tiff, ifd0);
  for (int i = 0; i < ifd0Count; ++i) {
    const uint64_t entry = ifd0 + 2 + 12 * static_cast<uint64_t>(i);
    if (!Holds(tiff, entry, 12)) return kCaptureDateMissing;
    if (Read16(tiff, entry) == kTagExifIfdPointer) exifIfd = Read32(tiff, entry + 8);
  }
  if (exifIfd == 0) return kCaptureDateMissing;
  if (!Holds(tiff, exifIfd, 2)) return kCaptureDateIfdBeyondHead;

  // DateTimeOriginal ends the walk; a DateTimeDigitized before it is kept
  // only when the original's value cannot be taken. A value that the
  // segment does not hold is skipped and the walk goes on.
  char value[kExifDateValueSize];
  uint64_t valueLength = 0;
  bool taken = false;
  const int exifCount = EntryCount(tiff, exifIfd);
  for (int i = 0; i < exifCount; ++i) {
    const uint64_t entry = exifIfd + 2 + 12 * static_cast<uint64_t>(i);
    if (!Holds(tiff, entry, 12)) return kCaptureDateMissing;
    const uint16_t tag = Read16(tiff, entry);
    if (tag == kTagDateTimeOriginal || tag == kTagDateTimeDigitized) {
      const uint64_t count = Read32(tiff, entry + 4);
      const uint64_t offset = Read32(tiff, entry + 8);
      if (Holds(tiff, offset, count)) {
        valueLength = count < kExifDateValueSize ? count : kExifDateValueSize;
        memcpy(value, tiff.Bytes + offset, static_cast<size_t>(valueLength));
        taken = true;
      }
    }
    if (tag == kTagDateTimeOriginal) break;
  }
  if (!taken) return kCaptureDateMissing;

  // "YYYY:MM:DD HH:MM:SS": only the first byte is checked; a value too short
  // to hold the day is no date at all.
  if (valueLength < 10) return kCaptureDateMissing;
  if (value[0] < '0' || value[0] > '9') return kCaptureDateMissing;
  const int picks[8] = {0, 1, 2, 3, 5, 6, 8, 9};
  for (int i = 0; i < 8; ++i) dateText[i] = value[picks[i]];
  dateText[8] = '\0';
  return kCaptureDateFound;
}
