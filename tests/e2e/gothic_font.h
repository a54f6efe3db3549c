// Tessel draws its log list, the conditions dialog's push buttons and its
// number fields in "ＭＳ ゴシック", Shift-JIS character set, cell height 14.
// A font handle of another process means nothing in this one, so the tests
// measure texts here in a font made from that description and compare the
// widths the program's controls give the same texts.
#pragma once
#include <windows.h>

#include <cstring>

namespace e2e {

inline LOGFONTA GothicDescription(int height) {
  LOGFONTA f = {};
  f.lfHeight = height;
  f.lfCharSet = 128;
  strcpy(f.lfFaceName, "ＭＳ ゴシック");
  return f;
}

// The width of a text in a font made here from a description.
inline int TextWidth(const LOGFONTA& description, const char* text) {
  HFONT font = CreateFontIndirectA(&description);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size = {};
  GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return size.cx;
}

}  // namespace e2e
