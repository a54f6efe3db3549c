#include "photo/capture_date.h"

#include <windows.h>

#include <cstdlib>

#include "photo/exif_reader.h"

int ReadCaptureDate(const char* path, char* dateText) {
  dateText[0] = ' ';
  dateText[1] = '\0';
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kCaptureDateMissing;
  // The head is read in one read and the file closed before it is parsed.
  unsigned char* head = static_cast<unsigned char*>(malloc(kExifHeadSize));
  DWORD got = 0;
  BOOL read = head != nullptr && ReadFile(file, head, kExifHeadSize, &got, nullptr);
  CloseHandle(file);
  int result = read ? ParseCaptureDate(head, got, dateText) : kCaptureDateMissing;
  free(head);
  return result;
}
