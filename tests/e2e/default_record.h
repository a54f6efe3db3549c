// The record Tessel makes when it finds no Tessel.ini, written out byte by
// byte at the file's own offsets (integers 32-bit little-endian, strings
// Shift-JIS with their NUL): every byte a space, then version 110, an empty
// folder, ".jpg", "PICT", 4 digits, first and last number 0, empty name
// parts, 3 serial digits from 1 by 1, separator "_", automatic dating on with
// layout 0, the two histories of two entries each, the confirmation shown,
// the window at 200, 100 sized 584 x 500.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "shell/settings_record.h"

namespace e2e {

const size_t kRecordBytes = 1456;

// Field offsets in the file.
enum RecordOffset {
  kAtFormatVersion = 0,
  kAtSourceFolder = 4,
  kAtSourceExtension = 388,
  kAtSourceCommonPart = 404,
  kAtSourceDigits = 484,
  kAtSourceFirst = 488,
  kAtSourceLast = 492,
  kAtNamePart1 = 496,
  kAtNamePart2 = 536,
  kAtSerialDigits = 576,
  kAtSerialStart = 580,
  kAtSerialStep = 584,
  kAtSeparatorKind = 588,
  kAtAutoDate = 592,
  kAtDatePosition = 596,
  kAtPart1History = 600,
  kAtPart2History = 1000,
  kAtShowConfirmation = 1400,
  kAtReserved = 1401,
  kAtWindowLeft = 1440,
  kAtWindowTop = 1444,
  kAtWindowWidth = 1448,
  kAtWindowHeight = 1452,
};
const size_t kHistorySlotBytes = 40;

inline void PutInt(std::vector<unsigned char>& bytes, size_t at, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A string with its NUL; the bytes behind it are left as they are.
inline void PutText(std::vector<unsigned char>& bytes, size_t at, const char* text) {
  memcpy(&bytes[at], text, strlen(text) + 1);
}

inline int32_t GetInt(const std::vector<unsigned char>& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(bytes[at + i]) << (8 * i);
  return static_cast<int32_t>(v);
}

inline std::vector<unsigned char> DefaultRecordBytes() {
  std::vector<unsigned char> b(kRecordBytes, ' ');
  PutInt(b, kAtFormatVersion, 110);
  b[kAtSourceFolder] = '\0';
  PutText(b, kAtSourceExtension, ".jpg");
  PutText(b, kAtSourceCommonPart, "PICT");
  PutInt(b, kAtSourceDigits, 4);
  PutInt(b, kAtSourceFirst, 0);
  PutInt(b, kAtSourceLast, 0);
  b[kAtNamePart1] = '\0';
  b[kAtNamePart2] = '\0';
  PutInt(b, kAtSerialDigits, 3);
  PutInt(b, kAtSerialStart, 1);
  PutInt(b, kAtSerialStep, 1);
  PutInt(b, kAtSeparatorKind, 0);
  PutInt(b, kAtAutoDate, 1);
  PutInt(b, kAtDatePosition, 0);
  for (size_t slot = 0; slot < 10; ++slot) {
    b[kAtPart1History + slot * kHistorySlotBytes] = '\0';
    b[kAtPart2History + slot * kHistorySlotBytes] = '\0';
  }
  PutText(b, kAtPart1History, "北海道旅行");
  PutText(b, kAtPart1History + kHistorySlotBytes, "ヨーロッパ旅行");
  PutText(b, kAtPart2History, "札幌");
  PutText(b, kAtPart2History + kHistorySlotBytes, "函館");
  b[kAtShowConfirmation] = '1';
  PutInt(b, kAtWindowLeft, 200);
  PutInt(b, kAtWindowTop, 100);
  PutInt(b, kAtWindowWidth, 584);
  PutInt(b, kAtWindowHeight, 500);
  return b;
}

// The same bytes as a record, for tests that write a Tessel.ini of their own.
inline RenameSettings DefaultRecord() {
  static_assert(sizeof(RenameSettings) == kRecordBytes, "the record is the file");
  std::vector<unsigned char> bytes = DefaultRecordBytes();
  RenameSettings s;
  memcpy(&s, bytes.data(), sizeof s);
  return s;
}

inline std::vector<unsigned char> RecordBytes(const RenameSettings& s) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(&s);
  return std::vector<unsigned char>(p, p + sizeof s);
}

// Compares a file's bytes with the expected image; a difference names its
// first offsets, so a wrong field is found at once.
inline testing::AssertionResult SameBytes(const std::vector<unsigned char>& actual,
                                          const std::vector<unsigned char>& expected) {
  if (actual.size() != expected.size()) {
    return testing::AssertionFailure()
           << "size " << actual.size() << ", expected " << expected.size();
  }
  std::string where;
  int differences = 0;
  for (size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] == expected[i]) continue;
    if (++differences <= 8) {
      where += " @" + std::to_string(i) + ": " + std::to_string(actual[i]) + " not " +
               std::to_string(expected[i]) + ";";
    }
  }
  if (differences == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << differences << " bytes differ:" << where;
}

}  // namespace e2e
