// The EXIF rules: the marker walk to a JPEG file's EXIF segment and frame
// header, the capture date (DateTimeOriginal, or DateTimeDigitized), and what
// the preview takes from the segment: the orientation, the camera's
// thumbnail and the pixel dimensions. Pure: no <windows.h>, no state; any thread.
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
  bool FrameFound;      // a frame header whose size the bytes hold (with toFrame)
  uint32_t FrameWidth;  // the picture's size as its frame header gives it
  uint32_t FrameHeight;
};

// From FF D8, over fill bytes FF, over stray bytes up to the next FF and past
// every segment with a length, to the first APP1 "Exif" (or "EXIF") segment;
// with `toFrame`, on past it to the frame header. The walk ends at a frame
// header (SOF0-SOF15 but C4, C8 and CC), at SOS, at EOI, at a marker without a
// length (FF 00 included), or at the end of the bytes.
JpegLayout WalkJpegMarkers(const unsigned char* bytes, size_t length, bool toFrame = false);

// What the preview needs from the first bytes of a photo file.
struct PhotoFacts {
  // The Orientation of IFD0 (tag 0x0112): 1 to 8, as the EXIF standard
  // numbers the ways a camera stores a turned or mirrored picture, as SHORT
  // or LONG; 1 (stored upright) when the tag is absent, its value unknown,
  // IFD0 damaged or the segment unread.
  int Orientation;
  bool FrameFound;           // the photo's frame header lies in the bytes
  uint32_t FrameWidth, FrameHeight;
  bool ExifWhole;            // the EXIF segment lies in the bytes
  uint64_t ThumbnailStart;   // the camera's own small JPEG (IFD1), in the bytes
  uint64_t ThumbnailLength;  // 0: none, or one whose place, length or frame is damaged
  uint32_t ThumbnailWidth, ThumbnailHeight;  // from the thumbnail's own frame header
  uint32_t PixelWidth, PixelHeight;          // PixelXDimension, PixelYDimension; 0: absent
};

// Walks the bytes once to the photo's frame header and reads the EXIF
// segment's orientation, its thumbnail (found through IFD0's link to IFD1)
// and the pixel dimensions of the Exif IFD. Every IFD is walked by the one
// rule of the date reader: a signed count, 0x8000 and above none, cut to 40;
// the last entry of a tag counts; an IFD with an entry the segment does not
// hold is damaged and gives nothing. A thumbnail is given only when it lies
// wholly inside the segment and its own frame header lies inside it.
PhotoFacts ReadPhotoFacts(const unsigned char* bytes, size_t length);

// Parses `length` bytes read from the start of a file and returns one of the
// codes above. `dateText` (at least kCaptureDateSize bytes) receives
// "YYYYMMDD" on kCaptureDateFound and a single space otherwise. Every read
// stays inside the EXIF segment, which lies inside bytes[0 .. length).
int ParseCaptureDate(const unsigned char* bytes, size_t length, char* dateText);
