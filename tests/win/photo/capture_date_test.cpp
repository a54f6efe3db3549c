#include "photo/capture_date.h"

#include <gtest/gtest.h>

#include <string>

#include "win/photo/photo_test_support.h"

using namespace photo_test;

namespace {

struct Read {
  int Code;
  std::string Date;
};

Read ReadDate(const std::string& path) {
  char date[9] = "XXXXXXXX";
  int code = ReadCaptureDate(path.c_str(), date);
  return {code, date};
}

TEST(CaptureDate, RealPhotosMadeByImageMagickAndDatedByExiftool) {
  ASSERT_TRUE(FileExists(PhotoPath("camera-ii.jpg"))) << "build the photo_test_files target";
  struct Case {
    const char* File;
    int Code;
    const char* Date;
  } cases[] = {
      {"camera-ii.jpg", 1, "20110502"},       // APP1 first, little-endian
      {"camera-mm.jpg", 1, "20110502"},       // APP1 first, big-endian
      {"jfif-exif.jpg", 1, "20110502"},       // behind a JFIF segment
      {"digitized-only.jpg", 1, "20120809"},  // DateTimeDigitized when no original
      {"no-exif.jpg", -3, " "},
      {"small-40x30.jpg", -3, " "},
      {"no-such-file.jpg", 0, " "},
  };
  for (const Case& c : cases) {
    Read r = ReadDate(PhotoPath(c.File));
    EXPECT_EQ(r.Code, c.Code) << c.File;
    EXPECT_EQ(r.Date, c.Date) << c.File;
  }
}

TEST(CaptureDate, ShortAndEmptyFilesGiveNoDate) {
  ScratchFolder scratch;
  struct Case {
    const char* Name;
    std::string Bytes;
    int Code;
  } cases[] = {
      {"empty.jpg", "", -1},
      {"two.jpg", std::string("\xFF\xD8", 2), -3},
      {"five.jpg", std::string("\xFF\xD8\xFF\xE1\x00", 5), -3},
      {"text.jpg", "2011:05:02 10:15:30\r\n", -1},
  };
  for (const Case& c : cases) {
    Read r = ReadDate(scratch.Write(c.Name, c.Bytes));
    EXPECT_EQ(r.Code, c.Code) << c.Name;
    EXPECT_EQ(r.Date, " ") << c.Name;
  }
}

// The reader opens for reading and lets others read: it can read a photo that
// another program only reads, but not one held without sharing or being
// written.
TEST(CaptureDate, SharingWithAnotherHolderOfTheFile) {
  ScratchFolder scratch;
  const std::string path = scratch.Copy(PhotoPath("camera-mm.jpg"), "held.jpg");
  struct Case {
    const char* Name;
    DWORD Access;
    DWORD Share;
    int Code;
  } cases[] = {
      {"reader sharing reads", GENERIC_READ, FILE_SHARE_READ, 1},
      {"held without sharing", GENERIC_READ, 0, 0},
      {"being written", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0},
  };
  for (const Case& c : cases) {
    HANDLE held = CreateFileA(path.c_str(), c.Access, c.Share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.Name;
    Read r = ReadDate(path);
    CloseHandle(held);
    EXPECT_EQ(r.Code, c.Code) << c.Name;
    EXPECT_EQ(r.Date, c.Code == 1 ? "20110502" : " ") << c.Name;
  }
  // The reader leaves the file closed: nothing keeps it from being deleted.
  ASSERT_EQ(ReadDate(path).Code, 1);
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(CaptureDate, ShiftJisPathsWithBackslashTrailBytes) {
  ScratchFolder scratch;
  // ソ (83 5C) and 表 (95 5C) carry a backslash as their second byte.
  const std::string folder = scratch.Folder("ソフト表");
  const std::string path = folder + "\\ソース表.jpg";
  ASSERT_TRUE(CopyFileA(PhotoPath("camera-ii.jpg").c_str(), path.c_str(), FALSE));
  scratch.Files.push_back(path);
  Read r = ReadDate(path);
  EXPECT_EQ(r.Code, 1);
  EXPECT_EQ(r.Date, "20110502");
}

}  // namespace
