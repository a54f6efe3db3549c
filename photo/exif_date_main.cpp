// exif_date: prints "<code> <YYYYMMDD or ->" for each file named on the
// command line, one line per file, reading each file the way Tessel does
// (its first 128 KB in one read). With --floor first it only opens, reads
// and closes each file, for the benchmark's floor. For checking photos by
// hand and feeding the fuzzer; not shipped.
#include <cstdio>
#include <cstring>

#include "photo/exif_reader.h"

int main(int argc, char** argv) {
  const bool floorOnly = argc > 1 && strcmp(argv[1], "--floor") == 0;
  int unreadable = 0;
  static unsigned char head[kExifHeadSize];
  for (int i = floorOnly ? 2 : 1; i < argc; ++i) {
    size_t got = 0;
    FILE* file = fopen(argv[i], "rb");
    int code = kCaptureDateMissing;
    char date[kCaptureDateSize] = " ";
    if (file != nullptr) {
      got = fread(head, 1, sizeof head, file);
      fclose(file);
      if (!floorOnly) code = ParseCaptureDate(head, got, date);
    } else {
      ++unreadable;
    }
    if (floorOnly) {
      printf("%zu\n", got);
    } else {
      printf("%d %s\n", code, code == kCaptureDateFound ? date : "-");
    }
  }
  return unreadable == 0 ? 0 : 1;
}
