// Which Unicode names the programs take, through the real conversion of code
// page 932: exact ones only, never one with '?' or a best-fit character.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "common/ansi_names.h"

namespace {

TEST(AnsiNames, OnlyNamesTheCodePageHoldsExactlyAreTaken) {
  ASSERT_EQ(GetACP(), 932u);
  const struct {
    std::wstring Wide;
    HeldName Held;
    std::string Ansi;
  } rows[] = {
      {L"C:\\写真\\表ソ0100.jpg", kNameHeld, "C:\\写真\\表ソ0100.jpg"},  // second bytes 0x5C
      {L"C:\\旅行～" + std::wstring(374, L'a'), kNameHeld, "C:\\旅行～" + std::string(374, 'a')},
      {L"C:\\x\\PICT0104한.jpg", kNameNotHeld, ""},       // '?'
      {L"C:\\写真¥2011\\PICT0102.jpg", kNameNotHeld, ""},  // best fit: a backslash
      {L"C:\\x\\PICT010².jpg", kNameNotHeld, ""},         // best fit: a digit
      {L"C:\\旅行〜北海道", kNameNotHeld, ""},             // the wave dash of a Mac
      {L"C:\\旅行～" + std::wstring(375, L'a'), kNameTooLong, ""},  // 385 bytes with the NUL
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(&r - rows);
    char out[384];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(HoldWideName(out, sizeof out, r.Wide.c_str()), r.Held);
    EXPECT_EQ(std::string(out), r.Ansi);
  }
}

}  // namespace
