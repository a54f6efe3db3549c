// libFuzzer target for the EXIF parser (capture date, orientation, thumbnail). Built by scripts/fuzz-exif.sh
// with clang -fsanitize=fuzzer,address,undefined; any read outside the bytes
// given, any undefined behaviour, and any broken promise of the parser stops
// the run.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "photo/exif_reader.h"

namespace {

void Require(bool condition) {
  if (!condition) abort();
}

int ParseChecked(const uint8_t* data, size_t size, char (&date)[kCaptureDateSize + 1]) {
  memset(date, 'Z', sizeof date);
  int code = ParseCaptureDate(data, size, date);
  Require(code >= kCaptureDateIfdBeyondHead && code <= kCaptureDateFound);
  Require(date[kCaptureDateSize] == 'Z');  // nothing written past the 9 bytes
  if (code == kCaptureDateFound) {
    Require(date[8] == '\0');
    Require(date[0] >= '0' && date[0] <= '9');
    Require(size >= 10);
  } else {
    Require(date[0] == ' ' && date[1] == '\0');
  }
  return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  char date[kCaptureDateSize + 1];
  const int code = ParseChecked(data, size, date);
  Require(code != -2);  // the walk passes every segment with a length
  const PhotoFacts facts = ReadPhotoFacts(data, size);
  Require(facts.Orientation >= 1 && facts.Orientation <= 8);
  // A thumbnail lies inside the bytes, behind its own frame header.
  if (facts.ThumbnailLength != 0) {
    Require(facts.ExifWhole && facts.ThumbnailStart + facts.ThumbnailLength <= size);
    Require(data[facts.ThumbnailStart] == 0xFF && data[facts.ThumbnailStart + 1] == 0xD8);
    Require(facts.ThumbnailWidth > 0 && facts.ThumbnailHeight > 0);
  }

  // Nothing is read past the EXIF segment: the bytes cut at its end, in a
  // heap block of exactly that size so that the address sanitizer sees any
  // read past it, give the same answers.
  const JpegLayout layout = WalkJpegMarkers(data, size);
  if (layout.ExifFound && layout.ExifWhole) {
    std::vector<uint8_t> cut(data, data + layout.TiffStart + layout.TiffLength);
    char cutDate[kCaptureDateSize + 1];
    Require(ParseChecked(cut.data(), cut.size(), cutDate) == code);
    Require(memcmp(date, cutDate, kCaptureDateSize) == 0);
    const PhotoFacts cutFacts = ReadPhotoFacts(cut.data(), cut.size());
    Require(cutFacts.Orientation == facts.Orientation);
    Require(cutFacts.ThumbnailStart == facts.ThumbnailStart);
    Require(cutFacts.ThumbnailLength == facts.ThumbnailLength);
  } else {
    Require(code != kCaptureDateFound);
  }

  // A date comes only from a segment that the bytes read wholly hold, so
  // whatever a longer file holds after them cannot change it: the same
  // bytes followed by zeros, or by 0xFF, give the same date.
  if (code == kCaptureDateFound) {
    for (uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
      std::vector<uint8_t> longer(data, data + size);
      longer.resize(size + 256, fill);
      char longerDate[kCaptureDateSize + 1];
      Require(ParseChecked(longer.data(), longer.size(), longerDate) == kCaptureDateFound);
      Require(memcmp(date, longerDate, kCaptureDateSize) == 0);
    }
  }
  return 0;
}
