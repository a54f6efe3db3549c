// Writes the seed corpus of the EXIF fuzzer: crafted heads that reach every
// branch of the parser. Usage: exif_seeds <folder>
#include <cstdio>
#include <string>
#include <vector>

#include "native/photo/exif_builder.h"

using namespace exif_test;

namespace {

bool Write(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes) {
  std::string path = folder + "/" + name;
  FILE* f = fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

ExifBytes OneDate(bool big, uint16_t tag, uint32_t count, uint32_t offset, const char* text) {
  ExifBytes f = StartExif(big);
  f.Ifd(8, {{kTagMake, kTypeAscii, 6, 0x80}, {kTagExifIfd, kTypeLong, 1, 0x40}});
  f.Ifd(0x40, {{kTagExposure, 5, 1, 0xC0}, {tag, kTypeAscii, count, offset}});
  if (offset < 2400) f.TiffText(offset, text);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: exif_seeds <folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  ok &= Write(dir, "camera-ii", CameraFile(false).Bytes);
  ok &= Write(dir, "camera-mm", CameraFile(true).Bytes);
  ok &= Write(dir, "jfif-ii", CameraFile(false, 16).Bytes);
  ok &= Write(dir, "jfif-mm-long", CameraFile(true, 77, 3000).Bytes);
  ok &= Write(dir, "digitized-only", OneDate(false, kTagDigitized, 20, 0x100, kDigitizedText).Bytes);
  ok &= Write(dir, "date-at-edge", OneDate(true, kTagOriginal, 20, 2367, kOriginalText).Bytes);
  ok &= Write(dir, "date-long", OneDate(false, kTagOriginal, 120, 0x100, kOriginalText).Bytes);
  ok &= Write(dir, "date-short", OneDate(true, kTagOriginal, 9, 0x100, "2011:05:0").Bytes);
  ok &= Write(dir, "date-space", OneDate(false, kTagOriginal, 20, 0x100, " 011:05:02 10:15:30").Bytes);
  ok &= Write(dir, "upper-exif", StartExif(false, 0, "EXIF").Bytes);
  ok &= Write(dir, "bad-order", StartExif(false, 0, "Exif", "IM").Bytes);
  ExifBytes far = StartExif(false);
  far.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 2389}});
  ok &= Write(dir, "exif-ifd-far", far.Bytes);
  ExifBytes many = StartExif(false);
  many.Ifd(8, std::vector<IfdEntry>(41, IfdEntry{kTagExifIfd, kTypeLong, 1, 0x300}), 0x7FFF);
  many.Ifd(0x300, {{kTagOriginal, kTypeAscii, 20, 0x380}});
  many.TiffText(0x380, kOriginalText);
  ok &= Write(dir, "count-cap", many.Bytes);
  // Files that end inside a structure: IFD0 that is its own Exif IFD and
  // declares more entries than the file holds, and DateTimeOriginal's value
  // past the end of the file after a DateTimeDigitized that was read.
  ExifBytes self = StartExif(false);
  self.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 8}, {kTagOriginal, kTypeAscii, 20, 34}}, 5);
  self.PutText(self.Tiff + 34, kOriginalText, 20);
  self.Bytes.resize(self.Tiff + 54);
  ok &= Write(dir, "ifd0-cut", self.Bytes);
  ExifBytes cut = StartExif(true);
  cut.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}});
  cut.Ifd(0x40, {{kTagDigitized, kTypeAscii, 20, 0x20}, {kTagOriginal, kTypeAscii, 20, 1500}});
  cut.TiffText(0x20, kDigitizedText);
  cut.Grow(1000);
  ok &= Write(dir, "original-past-data", cut.Bytes);
  ExifBytes xmpFirst = StartExifAfter(true, {kJfif16, {0xFFE1, 40, "http://ns.adobe.com/xap/1.0/", 28}},
                                      "Exif", nullptr, 0x30);
  xmpFirst.Ifd(0x30, {{0x0112, 3, 1, 6u << 16}, {kTagExifIfd, kTypeLong, 1, 0x60}});
  xmpFirst.Ifd(0x60, {{kTagOriginal, kTypeAscii, 20, 0x100}});
  xmpFirst.TiffText(0x100, kOriginalText);
  ok &= Write(dir, "xmp-first-turned", xmpFirst.Bytes);
  ExifBytes withThumbnail = StartExif(false, 16);
  withThumbnail.Ifd(8, {{kTagExifIfd, kTypeLong, 1, 0x40}}, -1, 0x80);
  withThumbnail.Ifd(0x40, {{0xA002, 3, 1, 600}, {0xA003, kTypeLong, 1, 400}});
  withThumbnail.Ifd(0x80, {{0x0201, kTypeLong, 1, 0x100}, {0x0202, kTypeLong, 1, 23}});
  const std::vector<uint8_t> tiny = TinyJpeg(160, 120);
  withThumbnail.PutText(withThumbnail.Tiff + 0x100, reinterpret_cast<const char*>(tiny.data()), tiny.size());
  withThumbnail.EndSegmentAt(withThumbnail.Bytes.size());
  const std::vector<uint8_t> frame = TinyJpeg(600, 400);
  withThumbnail.Bytes.insert(withThumbnail.Bytes.end(), frame.begin() + 2, frame.end());
  ok &= Write(dir, "thumbnail", withThumbnail.Bytes);
  ok &= Write(dir, "png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
  ok &= Write(dir, "dqt", {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43});
  if (!ok) {
    fprintf(stderr, "exif_seeds: cannot write into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
