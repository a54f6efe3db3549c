// Bounded text helpers for fixed-size, NUL-terminated Shift-JIS buffers.
// Pure: no <windows.h>. Every helper always terminates its destination and
// reports whether the text had to be cut.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>


// A byte that starts a Shift-JIS double-byte character.
inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length of a text stored in a field of `width` bytes that may lack its NUL.
inline size_t BoundedLength(const char* text, size_t width) {
  size_t n = 0;
  while (n < width && text[n] != '\0') ++n;
  return n;
}

// Copies at most dstSize-1 bytes and a NUL. Returns false when `src` was cut.
inline bool CopyTextN(char* dst, size_t dstSize, const char* src) {
  if (dstSize == 0) return false;
  size_t n = 0;
  while (n + 1 < dstSize && src[n] != '\0') {
    dst[n] = src[n];
    ++n;
  }
  dst[n] = '\0';
  return src[n] == '\0';
}

template <size_t N>
inline bool CopyText(char (&dst)[N], const char* src) {
  return CopyTextN(dst, N, src);
}

// Appends to a NUL-terminated buffer; false when the result was cut.
inline bool AppendTextN(char* dst, size_t dstSize, const char* src) {
  size_t used = BoundedLength(dst, dstSize);
  if (used >= dstSize) return false;
  return CopyTextN(dst + used, dstSize - used, src);
}

template <size_t N>
inline bool AppendText(char (&dst)[N], const char* src) {
  return AppendTextN(dst, N, src);
}

// vsnprintf into a fixed buffer; false when the result was cut (it then
// holds the first dstSize - 1 bytes).
inline bool FormatTextV(char* dst, size_t dstSize, const char* format, va_list args) {
  if (dstSize == 0) return false;
#if defined(_WIN32)
  // The C library's own formatter: MinGW's vsnprintf would bring in an
  // import of GetModuleHandleW, which Windows 95 lacks. It gives -1, and no
  // NUL, when the text does not fit.
  int n = _vsnprintf(dst, dstSize, format, args);
  if (n < 0 || static_cast<size_t>(n) >= dstSize) {
    dst[dstSize - 1] = '\0';
    return false;
  }
  return true;
#else
  int n = vsnprintf(dst, dstSize, format, args);
  if (n < 0) {
    dst[0] = '\0';
    return false;
  }
  return static_cast<size_t>(n) < dstSize;
#endif
}

// snprintf into a fixed buffer; false when the result was cut.
inline bool FormatTextN(char* dst, size_t dstSize, const char* format, ...) {
  va_list args;
  va_start(args, format);
  bool fits = FormatTextV(dst, dstSize, format, args);
  va_end(args);
  return fits;
}

// The size travels with the array, so a pointer cannot be passed by mistake.
template <size_t N, typename... Args>
inline bool FormatText(char (&dst)[N], const char* format, Args... args) {
  return FormatTextN(dst, N, format, args...);
}

// Cuts a text to at most `maxBytes` bytes without leaving the first byte of a
// double-byte character alone at the end. Returns the new length.
inline size_t CutShiftJis(char* text, size_t maxBytes) {
  size_t i = 0;
  while (text[i] != '\0') {
    size_t step = (IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') ? 2 : 1;
    if (i + step > maxBytes) break;
    i += step;
  }
  text[i] = '\0';
  return i;
}
