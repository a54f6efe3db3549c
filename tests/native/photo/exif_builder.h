// Builds the first bytes of JPEG files with EXIF data, byte by byte, for the
// capture-date tests and the fuzzer's seed corpus. Test code only.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace exif_test {

struct IfdEntry {
  uint16_t Tag;
  uint16_t Type;
  uint32_t Count;
  uint32_t Value;
};

enum : uint16_t {
  kTypeAscii = 2,
  kTypeShort = 3,
  kTypeLong = 4,
  kTagMake = 0x010F,
  kTagExifIfd = 0x8769,
  kTagExposure = 0x829A,
  kTagOriginal = 0x9003,
  kTagDigitized = 0x9004,
};

struct ExifBytes {
  std::vector<uint8_t> Bytes;
  size_t Tiff = 0;  // position of the byte order mark
  bool Big = false;
  // The EXIF segment runs to the end of the bytes built, until EndSegmentAt
  // fixes its end.
  size_t LengthField = 0;
  bool SegmentFixed = true;

  void SetSegmentEnd(size_t end) {
    const size_t length = end - LengthField;
    Bytes[LengthField] = static_cast<uint8_t>(length > 0xFFFF ? 0xFF : length >> 8);
    Bytes[LengthField + 1] = static_cast<uint8_t>(length > 0xFFFF ? 0xFF : length);
  }
  void EndSegmentAt(size_t end) {
    SegmentFixed = true;
    SetSegmentEnd(end);
  }
  void Grow(size_t end) {
    if (Bytes.size() < end) Bytes.resize(end, 0);
    if (!SegmentFixed) SetSegmentEnd(Bytes.size());
  }
  void Put8(size_t pos, uint8_t v) {
    Grow(pos + 1);
    Bytes[pos] = v;
  }
  void Put16(size_t pos, uint16_t v) {
    Put8(pos + (Big ? 0 : 1), static_cast<uint8_t>(v >> 8));
    Put8(pos + (Big ? 1 : 0), static_cast<uint8_t>(v));
  }
  void Put32(size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      Put8(pos + (Big ? 3 - i : i), static_cast<uint8_t>(v >> (8 * i)));
    }
  }
  void PutText(size_t pos, const char* text, size_t n) {
    Grow(pos + n);
    memcpy(&Bytes[pos], text, n);
  }
  // Offsets below count from the TIFF header, as in the file.
  void TiffText(uint32_t offset, const char* text) { PutText(Tiff + offset, text, strlen(text) + 1); }
  void Ifd(uint32_t offset, const std::vector<IfdEntry>& entries, int countField = -1,
           uint32_t next = 0) {
    size_t pos = Tiff + offset;
    Put16(pos, static_cast<uint16_t>(countField < 0 ? static_cast<int>(entries.size()) : countField));
    for (size_t i = 0; i < entries.size(); ++i) {
      size_t e = pos + 2 + 12 * i;
      Put16(e, entries[i].Tag);
      Put16(e + 2, entries[i].Type);
      Put32(e + 4, entries[i].Count);
      Put32(e + 8, entries[i].Value);
    }
    Put32(pos + 2 + 12 * entries.size(), next);
  }
};

// A segment in front of the EXIF one: its marker, the value of its length
// field and the first bytes of its data. Marker 0 stands for `Length` stray
// zero bytes between two segments, which are no segment at all.
struct Segment {
  uint16_t Marker;
  uint16_t Length;
  const char* Data;
  size_t DataSize;
};

const Segment kJfif16 = {0xFFE0, 16, "JFIF\0\1\1\0\0\1\0\1\0\0", 14};

// SOI, the segments `before`, then APP1 with the identifier, its two zero
// bytes and a TIFF header whose IFD0 offset is `ifd0`.
inline ExifBytes StartExifAfter(bool big, const std::vector<Segment>& before,
                                const char* identifier = "Exif", const char* order = nullptr,
                                uint32_t ifd0 = 8) {
  ExifBytes f;
  f.Big = true;  // markers and segment lengths are big-endian in any file
  f.Put16(0, 0xFFD8);
  size_t pos = 2;
  for (const Segment& s : before) {
    if (s.Marker == 0) {
      f.Grow(pos + s.Length);
      pos += s.Length;
      continue;
    }
    f.Put16(pos, s.Marker);
    f.Put16(pos + 2, s.Length);
    f.PutText(pos + 4, s.Data, s.DataSize);
    f.Grow(pos + 2 + s.Length);
    pos += 2 + s.Length;
  }
  f.Put16(pos, 0xFFE1);
  f.LengthField = pos + 2;
  f.PutText(pos + 4, identifier, 4);
  f.Put16(pos + 8, 0);
  f.Tiff = pos + 10;
  f.Big = big;
  f.PutText(f.Tiff, order != nullptr ? order : (big ? "MM" : "II"), 2);
  f.Put16(f.Tiff + 2, 42);
  f.Put32(f.Tiff + 4, ifd0);
  f.SegmentFixed = false;
  f.Grow(f.Tiff + 8);
  return f;
}

// The same after a JFIF APP0 segment whose length field is `app0Length`
// (none for 0).
inline ExifBytes StartExif(bool big, int app0Length = 0, const char* identifier = "Exif",
                           const char* order = nullptr) {
  std::vector<Segment> before;
  if (app0Length > 0) before.push_back({0xFFE0, static_cast<uint16_t>(app0Length), kJfif16.Data, 14});
  return StartExifAfter(big, before, identifier, order);
}

// The least of a JPEG file a walk reads a size from: SOI, a baseline frame
// header of three components, EOI.
inline std::vector<uint8_t> TinyJpeg(uint16_t width, uint16_t height) {
  return {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, static_cast<uint8_t>(height >> 8),
          static_cast<uint8_t>(height), static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width),
          0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xFF, 0xD9};
}

const char kOriginalText[] = "2011:05:02 10:15:30";
const char kDigitizedText[] = "2011:05:03 08:00:00";

// A typical camera file: IFD0 with Make and the Exif IFD pointer, an Exif
// IFD with an exposure time, DateTimeOriginal and DateTimeDigitized, padded
// to `size` bytes. The EXIF segment ends with DateTimeOriginal's value, at
// Tiff + 0x100 + 20.
inline ExifBytes CameraFile(bool big, int app0Length = 0, size_t size = 1200) {
  ExifBytes f = StartExif(big, app0Length);
  f.Ifd(8, {{kTagMake, kTypeAscii, 6, 0x80}, {kTagExifIfd, kTypeLong, 1, 0x40}});
  f.TiffText(0x80, "Tessl");
  f.Ifd(0x40, {{kTagExposure, 5, 1, 0xC0},
               {kTagOriginal, kTypeAscii, 20, 0x100},
               {kTagDigitized, kTypeAscii, 20, 0xE0}});
  f.TiffText(0xE0, kDigitizedText);
  f.TiffText(0x100, kOriginalText);
  f.EndSegmentAt(f.Tiff + 0x100 + 20);
  f.Grow(size);
  f.Big = true;
  f.Put16(size - 2, 0xFFD9);
  f.Big = big;
  return f;
}

}  // namespace exif_test
