// The EXIF rules: the capture date (DateTimeOriginal, or DateTimeDigitized)
// and the orientation, from the first bytes of a JPEG file. Pure: no
// <windows.h>, no state; any thread.
#pragma once
#include <cstddef>

constexpr size_t kExifHeadSize = 2400;     // only this many bytes from the start of a file are looked at
constexpr size_t kExifDateValueSize = 80;  // a date value longer than this is cut to it
constexpr int kExifIfdEntryCap = 40;       // IFD entry counts above this are cut to it
constexpr size_t kCaptureDateSize = 9;     // "YYYYMMDD" and a NUL

// Result codes of the reader; every code other than kCaptureDateFound means
// the photo has no capture date.
enum {
  kCaptureDateFound = 1,
  kCaptureDateMissing = 0,       // no Exif IFD pointer, no date tag, or no digit in front
  kCaptureDateNotJpeg = -1,      // the file does not start with FF D8
  kCaptureDateBadMarker = -2,    // the second marker is neither APP1 nor APP0
  kCaptureDateNoExif = -3,       // no "Exif" or "EXIF" identifier where one is looked for
  kCaptureDateBadOrder = -4,     // the TIFF byte order is neither "II" nor "MM"
  kCaptureDateIfdBeyondHead = -5 // the Exif IFD lies past the bytes read
};

// Parses `length` bytes read from the start of a file (only the first
// kExifHeadSize of them are used) and returns one of the codes above.
// `dateText` (at least kCaptureDateSize bytes) receives "YYYYMMDD" on
// kCaptureDateFound and a single space otherwise. Never reads outside
// head[0 .. min(length, kExifHeadSize)).
int ParseCaptureDate(const unsigned char* head, size_t length, char* dateText);

// The Orientation of IFD0 (tag 0x0112): 1 to 8, as the EXIF standard numbers
// the ways a camera stores a turned or mirrored picture; 1 (stored upright)
// when the tag is absent, its value unknown or the structure unreadable.
// Reads the same bytes under the same bounds as ParseCaptureDate.
int ParseOrientation(const unsigned char* head, size_t length);
