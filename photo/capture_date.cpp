#include "photo/capture_date.h"

#include <windows.h>

#include "photo/exif_reader.h"

int ReadCaptureDate(const char* path, char* dateText) {
  dateText[0] = ' ';
  dateText[1] = '\0';
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kCaptureDateMissing;
  unsigned char head[kExifHeadSize];
  DWORD got = 0;
  BOOL read = ReadFile(file, head, sizeof head, &got, nullptr);
  CloseHandle(file);
  if (!read) return kCaptureDateMissing;
  return ParseCaptureDate(head, got, dateText);
}
