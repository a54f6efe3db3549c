// Checks and look-ups that the Windows-side tests of both programs share.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

// The font both programs make for their controls: "ＭＳ ゴシック" in the
// Shift-JIS character set (128) at a cell height, every other field of its
// description 0, as GetObject gives it back.
inline void ExpectGothicFont(HFONT font, int height) {
  ASSERT_NE(font, nullptr);
  LOGFONTA f;
  memset(&f, 0x5A, sizeof f);
  ASSERT_EQ(GetObjectA(font, sizeof f, &f), static_cast<int>(sizeof f));
  EXPECT_EQ(f.lfHeight, height);
  EXPECT_EQ(f.lfWidth, 0);
  EXPECT_EQ(f.lfEscapement, 0);
  EXPECT_EQ(f.lfOrientation, 0);
  EXPECT_EQ(f.lfWeight, 0);
  EXPECT_EQ(f.lfItalic, 0);
  EXPECT_EQ(f.lfUnderline, 0);
  EXPECT_EQ(f.lfStrikeOut, 0);
  EXPECT_EQ(f.lfCharSet, 128);
  EXPECT_EQ(f.lfOutPrecision, 0);
  EXPECT_EQ(f.lfClipPrecision, 0);
  EXPECT_EQ(f.lfQuality, 0);
  EXPECT_EQ(f.lfPitchAndFamily, 0);
  EXPECT_EQ(std::string(f.lfFaceName), "ＭＳ ゴシック");
}

// The Unix path Wine maps a Windows path to ("" outside Wine, or when the
// path does not exist: Wine maps only existing paths).
inline std::string WineUnixPath(const std::string& windowsPath) {
  typedef char*(CDECL * ToUnix)(LPCWSTR);
  ToUnix toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return "";
  wchar_t wide[MAX_PATH] = L"";
  if (MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH) == 0) return "";
  char* unix = toUnix(wide);
  if (unix == nullptr) return "";
  std::string result(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}
