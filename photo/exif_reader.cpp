#include "photo/exif_reader.h"

#include <cstdint>
#include <cstring>

namespace {

enum : uint16_t {
  kTagOrientation = 0x0112,
  kTagExifIfdPointer = 0x8769,
  kTagDateTimeOriginal = 0x9003,
  kTagDateTimeDigitized = 0x9004,
};

// The bytes read and their byte order. Positions are 64-bit so that adding a
// 32-bit offset from the file to the TIFF position can never wrap.
struct ExifHead {
  const unsigned char* Bytes;
  uint64_t Length;
  bool BigEndian;
};

// True when `width` bytes from `position` lie wholly inside the bytes read.
bool Holds(const ExifHead& head, uint64_t position, uint64_t width) {
  return position <= head.Length && width <= head.Length - position;
}

// Callers check Holds() first.
uint16_t Read16(const ExifHead& head, uint64_t position) {
  const unsigned char* p = head.Bytes + position;
  return head.BigEndian ? static_cast<uint16_t>((p[0] << 8) | p[1])
                        : static_cast<uint16_t>((p[1] << 8) | p[0]);
}

uint32_t Read32(const ExifHead& head, uint64_t position) {
  const unsigned char* p = head.Bytes + position;
  if (head.BigEndian) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
  }
  return (static_cast<uint32_t>(p[3]) << 24) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

bool IsExifIdentifier(const ExifHead& head, uint64_t position) {
  if (!Holds(head, position, 4)) return false;
  const unsigned char* p = head.Bytes + position;
  return memcmp(p, "EXIF", 4) == 0 || memcmp(p, "Exif", 4) == 0;
}

// An IFD's entry count is a signed 16-bit number: 0x8000 and above mean no
// entries, and more than 40 are never walked. A count the head does not hold
// walks nothing.
int EntryCount(const ExifHead& head, uint64_t position) {
  if (!Holds(head, position, 2)) return 0;
  int count = static_cast<int16_t>(Read16(head, position));
  if (count < 0) return 0;
  return count > kExifIfdEntryCap ? kExifIfdEntryCap : count;
}

// Where the identifier lies, or a negative result code. After a JFIF APP0
// segment the EXIF segment is looked for in the 80 positions 6 to 85 rather
// than through the APP0 length.
int64_t FindIdentifier(const ExifHead& head) {
  if (!Holds(head, 2, 2) || head.Bytes[2] != 0xFF) return kCaptureDateBadMarker;
  if (head.Bytes[3] == 0xE1) {
    return IsExifIdentifier(head, 6) ? 6 : kCaptureDateNoExif;
  }
  if (head.Bytes[3] != 0xE0) return kCaptureDateBadMarker;
  for (uint64_t position = 6; position <= 85; ++position) {
    if (!Holds(head, position, 1)) break;
    if (head.Bytes[position] == 'E' && IsExifIdentifier(head, position)) {
      return static_cast<int64_t>(position);
    }
  }
  return kCaptureDateNoExif;
}

// Finds the TIFF header and takes its byte order into `head`. Returns 1 with
// its position in *tiff, or the negative result code.
int LocateTiff(ExifHead& head, uint64_t* tiff) {
  const unsigned char* bytes = head.Bytes;
  if (!Holds(head, 0, 2) || bytes[0] != 0xFF || bytes[1] != 0xD8) return kCaptureDateNotJpeg;
  int64_t identifier = FindIdentifier(head);
  if (identifier < 0) return static_cast<int>(identifier);

  // Offsets inside the TIFF structures count from its byte order mark.
  *tiff = static_cast<uint64_t>(identifier) + 6;
  if (!Holds(head, *tiff, 2)) return kCaptureDateBadOrder;
  if (bytes[*tiff] == 'I' && bytes[*tiff + 1] == 'I') {
    head.BigEndian = false;
  } else if (bytes[*tiff] == 'M' && bytes[*tiff + 1] == 'M') {
    head.BigEndian = true;
  } else {
    return kCaptureDateBadOrder;
  }
  return 1;
}

ExifHead HeadOf(const unsigned char* bytes, size_t length) {
  ExifHead head;
  head.Bytes = bytes;
  head.Length = bytes == nullptr ? 0 : (length < kExifHeadSize ? length : kExifHeadSize);
  head.BigEndian = false;
  return head;
}

}  // namespace

int ParseOrientation(const unsigned char* bytes, size_t length) {
  ExifHead head = HeadOf(bytes, length);
  uint64_t tiff = 0;
  if (LocateTiff(head, &tiff) != 1) return 1;
  // A SHORT value sits in the first two bytes of the entry's value field.
  const int count = EntryCount(head, tiff + 8);
  for (int i = 0; i < count; ++i) {
    const uint64_t entry = tiff + 10 + 12 * static_cast<uint64_t>(i);
    if (!Holds(head, entry, 12)) return 1;
    if (Read16(head, entry) == kTagOrientation) {
      const int value = Read16(head, entry + 8);
      return value >= 1 && value <= 8 ? value : 1;
    }
  }
  return 1;
}

int ParseCaptureDate(const unsigned char* bytes, size_t length, char* dateText) {
  dateText[0] = ' ';
  dateText[1] = '\0';

  ExifHead head = HeadOf(bytes, length);
  uint64_t tiff = 0;
  const int located = LocateTiff(head, &tiff);
  if (located != 1) return located;

  // IFD0 is taken to follow the TIFF header directly. Every entry is
  // visited and the last Exif IFD pointer wins. An IFD that the bytes read
  // do not wholly hold is no IFD: a pointer found before the data ended
  // might have been replaced by a later one.
  uint32_t exifIfd = 0;
  const int ifd0Count = EntryCount(head, tiff + 8);
  for (int i = 0; i < ifd0Count; ++i) {
    const uint64_t entry = tiff + 10 + 12 * static_cast<uint64_t>(i);
    if (!Holds(head, entry, 12)) return kCaptureDateMissing;
    if (Read16(head, entry) == kTagExifIfdPointer) exifIfd = Read32(head, entry + 8);
  }
  if (exifIfd == 0) return kCaptureDateMissing;
  if (static_cast<uint64_t>(exifIfd) + 12 > kExifHeadSize) return kCaptureDateIfdBeyondHead;
  const uint64_t exifPosition = tiff + exifIfd;
  if (!Holds(head, exifPosition, 2)) return kCaptureDateIfdBeyondHead;

  // DateTimeOriginal ends the walk; a DateTimeDigitized before it is kept
  // only when the original's value cannot be taken. A value whose offset
  // and count put it beyond 2400 bytes is skipped and the walk goes on. An
  // entry or a value within that bound that the bytes read do not hold
  // ends the reading with no date: the file is too short to tell which
  // date it carries.
  char value[kExifDateValueSize];
  uint64_t valueLength = 0;
  bool taken = false;
  const int exifCount = EntryCount(head, exifPosition);
  for (int i = 0; i < exifCount; ++i) {
    const uint64_t entry = exifPosition + 2 + 12 * static_cast<uint64_t>(i);
    if (!Holds(head, entry, 12)) return kCaptureDateMissing;
    const uint16_t tag = Read16(head, entry);
    if (tag == kTagDateTimeOriginal || tag == kTagDateTimeDigitized) {
      const uint64_t count = Read32(head, entry + 4);
      const uint64_t offset = Read32(head, entry + 8);
      if (offset + count + 12 < kExifHeadSize) {
        if (!Holds(head, tiff + offset, count)) return kCaptureDateMissing;
        valueLength = count < kExifDateValueSize ? count : kExifDateValueSize;
        memcpy(value, bytes + tiff + offset, static_cast<size_t>(valueLength));
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
