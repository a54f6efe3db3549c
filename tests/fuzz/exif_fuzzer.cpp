// libFuzzer target for the capture-date parser. Built by scripts/fuzz-exif.sh
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

  // Only the head counts: the same bytes cut to 2400, in a heap block of
  // exactly that size so that the address sanitizer sees any read past it,
  // give the same answer.
  const size_t headSize = size < kExifHeadSize ? size : kExifHeadSize;
  std::vector<uint8_t> head(data, data + headSize);
  char headDate[kCaptureDateSize + 1];
  const int headCode = ParseChecked(head.empty() ? nullptr : head.data(), head.size(), headDate);
  Require(headCode == code);
  Require(memcmp(date, headDate, kCaptureDateSize) == 0);

  // A date comes only from structures that the bytes read wholly hold, so
  // whatever a longer file holds after them cannot change it: the same
  // bytes followed by zeros, or by 0xFF, up to 2400 give the same date.
  if (code == kCaptureDateFound && headSize < kExifHeadSize) {
    for (uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
      std::vector<uint8_t> longer(head);
      longer.resize(kExifHeadSize, fill);
      char longerDate[kCaptureDateSize + 1];
      Require(ParseChecked(longer.data(), longer.size(), longerDate) == kCaptureDateFound);
      Require(memcmp(date, longerDate, kCaptureDateSize) == 0);
    }
  }
  return 0;
}
