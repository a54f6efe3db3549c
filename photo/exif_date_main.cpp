// exif_date: prints "<code> <YYYYMMDD or ->" for each file named on the
// command line, one line per file, reading each file the way Tessel does
// (its first 2400 bytes). For checking photos by hand and feeding the fuzzer;
// not shipped.
#include <cstdio>

#include "photo/exif_reader.h"

int main(int argc, char** argv) {
  int unreadable = 0;
  for (int i = 1; i < argc; ++i) {
    unsigned char head[kExifHeadSize];
    size_t got = 0;
    FILE* file = fopen(argv[i], "rb");
    int code = kCaptureDateMissing;
    char date[kCaptureDateSize] = " ";
    if (file != nullptr) {
      got = fread(head, 1, sizeof head, file);
      fclose(file);
      code = ParseCaptureDate(head, got, date);
    } else {
      ++unreadable;
    }
    printf("%d %s\n", code, code == kCaptureDateFound ? date : "-");
  }
  return unreadable == 0 ? 0 : 1;
}
