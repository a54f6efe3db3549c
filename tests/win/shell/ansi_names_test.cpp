// Which Unicode names the programs take, through the real conversion of
// code page 932: exact ones only, never a name with '?' or a best-fit
// character, which would name another file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "common/ansi_names.h"

namespace {

TEST(AnsiNames, OnlyNamesTheCodePageHoldsExactlyAreTaken) {
  ASSERT_EQ(GetACP(), 932u) << "the tests run in the Japanese code page";
  const std::wstring tooLong = L"C:\\" + std::wstring(381, L'a');  // 384 bytes and a NUL
  const std::wstring longest = L"C:\\" + std::wstring(380, L'a');
  struct Row {
    const char* Name;
    std::wstring Wide;
    HeldName Held;
    std::string Ansi;  // the bytes taken, for a held name
  } rows[] = {
      {"exact", L"C:\\写真\\PICT0100.jpg", kNameHeld, "C:\\写真\\PICT0100.jpg"},
      {"second bytes 0x5C", L"D:\\表\\ソ0001.jpg", kNameHeld, "D:\\表\\ソ0001.jpg"},
      {"full-width tilde", L"C:\\旅行～北海道", kNameHeld, "C:\\旅行～北海道"},
      {"383 bytes", longest, kNameHeld, "C:\\" + std::string(380, 'a')},
      {"Hangul becomes '?'", L"C:\\x\\PICT0104한.jpg", kNameNotHeld, ""},
      {"yen sign: best fit to a backslash", L"C:\\写真¥2011\\PICT0102.jpg", kNameNotHeld, ""},
      {"wave dash as a Mac writes it", L"C:\\旅行〜北海道", kNameNotHeld, ""},
      {"superscript two: best fit to a digit", L"C:\\x\\PICT010².jpg", kNameNotHeld, ""},
      {"384 bytes", tooLong, kNameTooLong, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    char out[384];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(HoldWideName(out, sizeof out, r.Wide.c_str()), r.Held);
    EXPECT_EQ(std::string(out), r.Ansi);
  }
}

TEST(AnsiNames, TheProgramsOwnPathIsTheOneTheAnsiCallGives) {
  ASSERT_TRUE(RunsOnNt());  // Wine reports Windows 7
  char ansi[MAX_PATH] = "";
  ASSERT_GT(GetModuleFileNameA(nullptr, ansi, sizeof ansi), 0u);
  char held[MAX_PATH];
  EXPECT_EQ(HeldModuleFileName(held, sizeof held), static_cast<int>(std::strlen(ansi)));
  EXPECT_STREQ(held, ansi);
  char small[8];
  EXPECT_EQ(HeldModuleFileName(small, sizeof small), 8) << "a cut path says so";
  EXPECT_STREQ(small, "");
}

}  // namespace
