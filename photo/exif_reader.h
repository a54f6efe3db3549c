// The EXIF rules: the marker walk to a JPEG file's EXIF segment, the capture
// date (DateTimeOriginal, or DateTimeDigitized) and the orientation found in
// it. Pure: no <windows.h>, no state; any thread.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kExifHeadSize = 128 * 1024;  // bytes read from the start of a photo file
constexpr size_t kExifDateValueSize = 80;     // a date value longer than this is cut to it
constexpr int kExifIfdEntryCap = 40;          // IFD entry counts above this are cut to it
constexpr size_t kCaptureDateSize = 9;        // "YYYYMMDD" and a NUL

// Result codes of the reader; every code other than kCaptureDateFound means
// the photo has no capture date.
enum {
  kCaptureDateFound = 1,
  kCaptureDateMissing = 0,        // no Exif IFD pointer, no date tag, or no digit in front
  kCaptureDateNotJpeg = -1,       // the bytes do not start with FF D8
  kCaptureDateNoExif = -3,        // no EXIF segment before the picture data, or one the bytes cut
  kCaptureDateBadOrder = -4,      // the TIFF byte order is neither "II" nor "MM"
  kCaptureDateIfdBeyondHead = -5  // the Exif IFD lies outside the EXIF segment
};

// What the walk over the markers found in the bytes read from the start of
// a JPEG file. Positions count from the first byte read.
struct JpegLayout {
  bool Jpeg;            // the bytes start with FF D8
  bool ExifFound;       // an APP1 segment with the identifier "Exif" or "EXIF"
  bool ExifWhole;       // ... that the bytes read hold to its end
  uint64_t TiffStart;   // its TIFF header, past the identifier and two zero bytes
  uint64_t TiffLength;  // from the TIFF header to the end of the segment
};

// From FF D8, over fill bytes FF and past every segment with a length, to the
// first APP1 "Exif" (or "EXIF") segment. The walk ends without one at a frame
// header (SOF0-SOF15 but C4, C8 and CC), at SOS, at EOI, at a marker without
// a length, at a byte that starts no marker, or at the end of the bytes.
JpegLayout WalkJpegMarkers(const unsigned char* bytes, size_t length);

// Parses `length` bytes read from the start of a file and returns one of the
// codes above. `dateText` (at least kCaptureDateSize bytes) receives
// "YYYYMMDD" on kCaptureDateFound and a single space otherwise. Every read
// stays inside the EXIF segment, which lies inside bytes[0 .. length).
int ParseCaptureDate(const unsigned char* bytes, size_t length, char* dateText);

// The Orientation of IFD0 (tag 0x0112): 1 to 8, as the EXIF standard numbers
// the ways a camera stores a turned or mirrored picture; 1 (stored upright)
// when the tag is absent, its value unknown or the structure unreadable.
int ParseOrientation(const unsigned char* bytes, size_t length);
