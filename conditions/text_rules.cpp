#include "conditions/text_rules.h"

#include <cstdint>
#include <cstring>

#include "common/bounded_text.h"

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Bytes taken by the character at text[i]: 2 for a double-byte character,
// 1 otherwise (also for a lead byte that ends the text).
size_t CharWidth(const char* text, size_t i) {
  return (IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') ? 2 : 1;
}

// Where the last single-byte backslash and full stop of a path lie.
struct PathMarks {
  size_t Length;
  bool HasBackslash;
  size_t LastBackslash;
  bool HasFullStop;
  size_t LastFullStop;
};

PathMarks MarkPath(const char* path) {
  PathMarks m = {};
  size_t i = 0;
  while (path[i] != '\0') {
    size_t w = CharWidth(path, i);
    if (w == 1 && path[i] == '\\') {
      m.HasBackslash = true;
      m.LastBackslash = i;
    } else if (w == 1 && path[i] == '.') {
      m.HasFullStop = true;
      m.LastFullStop = i;
    }
    i += w;
  }
  m.Length = i;
  return m;
}

// Copies `count` bytes of src into out; false when they did not fit.
bool CopyBytes(char* out, size_t outSize, const char* src, size_t count) {
  if (outSize == 0) return false;
  bool fits = count < outSize;
  if (!fits) count = outSize - 1;
  std::memcpy(out, src, count);
  out[count] = '\0';
  if (!fits) DropHalfCharacter(out);
  return fits;
}

// The digit run at the end of the first `length` bytes of text.
DigitRun TrailingDigitRunN(const char* text, size_t length) {
  int count = 0;
  const char* runStart = nullptr;
  const char* runEnd = nullptr;
  long budget = static_cast<long>(length);
  const char* p = text;
  // The budget ends the walk at the text's end even when a lead byte is the
  // last byte, so the walk never steps over the end.
  while (*p != '\0' && budget > 0) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (IsLeadByte(c)) {
      count = 0;
      runStart = nullptr;
      budget -= 2;
      if (budget < 0) break;
      p += 2;
    } else if (IsDigit(c)) {
      if (runStart == nullptr) runStart = p;
      ++count;
      ++p;
      --budget;
      runEnd = p;
    } else {
      count = 0;
      runStart = nullptr;
      ++p;
      --budget;
    }
  }
  DigitRun run = {count, 0};
  if (runStart != nullptr) {
    // Unsigned arithmetic wraps instead of overflowing on runs longer than 9.
    uint32_t value = 0;
    for (const char* d = runStart; d < runEnd; ++d)
      value = value * 10u + static_cast<uint32_t>(*d - '0');
    run.Value = static_cast<int>(value & 0x7FFFFFFFu);
  }
  return run;
}

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

}  // namespace

DigitRun TrailingDigitRun(const char* text) { return TrailingDigitRunN(text, std::strlen(text)); }

int IsAllDigits(const char* text) {
  int n = 0;
  for (; text[n] != '\0'; ++n)
    if (!IsDigit(static_cast<unsigned char>(text[n]))) return -1;
  return n;
}

bool FitsInDigits(int digits, int value) {
  // 64-bit so that a digit count above 9 cannot overflow the limit.
  int64_t limit = 1;
  for (int i = 0; i < digits && limit <= INT32_MAX; ++i) limit *= 10;
  return static_cast<int64_t>(value) <= limit - 1;
}

bool PathFolderN(char* out, size_t outSize, const char* path) {
  PathMarks m = MarkPath(path);
  return CopyBytes(out, outSize, path, m.HasBackslash ? m.LastBackslash : 0);
}

bool PathBaseNameN(char* out, size_t outSize, const char* path) {
  PathMarks m = MarkPath(path);
  if (!m.HasBackslash) return CopyBytes(out, outSize, path, 0);
  size_t start = m.LastBackslash + 1;
  size_t end = (m.HasFullStop && m.LastFullStop > m.LastBackslash) ? m.LastFullStop : m.Length;
  return CopyBytes(out, outSize, path + start, end - start);
}

bool PathExtensionN(char* out, size_t outSize, const char* path) {
  PathMarks m = MarkPath(path);
  if (!m.HasFullStop || (m.HasBackslash && m.LastFullStop < m.LastBackslash))
    return CopyBytes(out, outSize, path, 0);
  size_t start = m.LastFullStop + 1;
  size_t end = start;
  while (path[end] != '\0' && path[end] != ' ') end += CharWidth(path, end);
  return CopyBytes(out, outSize, path + start, end - start);
}

void StripTrailingBackslash(char* path) {
  size_t i = 0;
  size_t last = 0;
  bool any = false;
  while (path[i] != '\0') {
    last = i;
    any = true;
    i += CharWidth(path, i);
  }
  if (any && i - last == 1 && path[last] == '\\') path[last] = '\0';
}

size_t FirstFullStop(const char* text) {
  size_t i = 0;
  while (text[i] != '\0') {
    size_t w = CharWidth(text, i);
    if (w == 1 && text[i] == '.') return i;
    i += w;
  }
  return i;
}

DigitRun NumberBeforeFullStop(const char* name) {
  return TrailingDigitRunN(name, FirstFullStop(name));
}

bool SourceNameMatches(const char* name, size_t commonLength, int digits, size_t extensionLength,
                       int* number) {
  if (digits < 0 || digits > 9) return false;
  if (std::strlen(name) != commonLength + static_cast<size_t>(digits) + extensionLength)
    return false;
  DigitRun run = NumberBeforeFullStop(name);
  if (run.Count != digits) return false;
  if (number != nullptr) *number = digits == 0 ? 0 : run.Value;
  return true;
}

bool SourceFileNameN(char* out, size_t outSize, const char* commonPart, int digits, int number,
                     const char* extension) {
  if (digits < 0 || digits > 9) {
    if (outSize > 0) out[0] = '\0';
    return false;
  }
  if (digits == 0) return FormatTextN(out, outSize, "%s%s", commonPart, extension);
  return FormatTextN(out, outSize, "%s%0*d%s", commonPart, digits, number, extension);
}

size_t DropHalfCharacter(char* text) {
  size_t i = 0;
  while (text[i] != '\0') {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] == '\0') {
      text[i] = '\0';
      break;
    }
    i += CharWidth(text, i);
  }
  return i;
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
  size_t i = 0;
  while (a[i] != '\0' && b[i] != '\0') {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(x)) {
      // The second byte of a double-byte character is compared as it is.
      if (x != y || a[i + 1] != b[i + 1]) return false;
      if (a[i + 1] == '\0') return true;
      i += 2;
      continue;
    }
    if (FoldAscii(x) != FoldAscii(y)) return false;
    ++i;
  }
  return a[i] == b[i];
}

size_t PathLengthForLimit(const char* path, bool countsCharacters) {
  if (!countsCharacters) return std::strlen(path);
  size_t characters = 0;
  for (size_t i = 0; path[i] != '\0'; i += CharWidth(path, i)) ++characters;
  return characters;
}
