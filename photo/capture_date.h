// Reads the capture date of a photo file. Any thread; keeps no state and
// never leaves the file open.
#pragma once

// Opens `path` for reading (others may read it too), reads at most its first
// 128 KB in one read, closes it and parses them (photo/exif_reader.h).
// `dateText` (at least 9 bytes) receives "YYYYMMDD" when the result is 1 and
// a single space otherwise; a file that cannot be opened or read gives 0.
int ReadCaptureDate(const char* path, char* dateText);
