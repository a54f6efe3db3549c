#include "photo/preview_pane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "conditions/dialog_state.h"
#include "shell/app_state.h"
#include "win/photo/photo_test_support.h"

using namespace photo_test;

namespace {

const char kLoadPictureText[] = "画像の作成に失敗しました(Load Picture)　";
const char kErrorCaption[] = "エラー";

// A window standing in for the conditions dialog, with control 1431: a grey
// frame of 84 x 63 pixels whose procedure is replaced by the pane's, as the
// dialog does at its opening.
class PreviewPane : public testing::Test {
 protected:
  HWND Owner = nullptr;
  HWND Pane = nullptr;

  void SetUp() override {
    ASSERT_TRUE(FileExists(PhotoPath("landscape-3264x2448.jpg"))) << "build the photo_test_files target";
    App.FaceColour = GetSysColor(COLOR_BTNFACE);
    App.FaceBrush = CreateSolidBrush(App.FaceColour);
    DialogState.PreviewBitmap = nullptr;
    PaneWidth = PaneHeight = 0;
    Owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 40, 40, 200, 150, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(Owner, nullptr);
    Pane = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_GRAYFRAME, 20, 30, 84, 63,
                           Owner, reinterpret_cast<HMENU>(1431), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(Pane, nullptr);
    PreviousPaneProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviewPaneProc)));
    ASSERT_NE(PreviousPaneProc, nullptr);
  }

  void TearDown() override {
    if (DialogState.PreviewBitmap != nullptr) DeleteObject(DialogState.PreviewBitmap);
    DialogState.PreviewBitmap = nullptr;
    if (Owner != nullptr) DestroyWindow(Owner);
    DeleteObject(App.FaceBrush);
    App.FaceBrush = nullptr;
  }

  void Paint() {
    InvalidateRect(Pane, nullptr, TRUE);
    UpdateWindow(Pane);
  }

  // Loads as the dialog does: into PreviewBitmap, fitted to the pane's latest paint.
  int Load(const std::string& path, int* width = nullptr, int* height = nullptr) {
    int w = -1, h = -1;
    int result = LoadPreviewPicture(Owner, path.c_str(), &DialogState.PreviewBitmap, PaneWidth,
                                    PaneHeight, &w, &h);
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    return result;
  }

  SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP b = {};
    SIZE s = {-1, -1};
    if (GetObjectA(bitmap, sizeof b, &b) == sizeof b) {
      s.cx = b.bmWidth;
      s.cy = b.bmHeight;
    }
    return s;
  }

  COLORREF PixelAt(int x, int y) {
    HDC dc = GetDC(Pane);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(Pane, dc);
    return c;
  }

  // The pane's 84 x 63 pixels as the screen shows them, row by row.
  std::vector<COLORREF> PanePixels() {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 63; ++y)
      for (int x = 0; x < 84; ++x) pixels.push_back(PixelAt(x, y));
    return pixels;
  }

  // The test pictures are red; JPEG leaves them a little off pure red.
  static bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }
  static bool IsBlue(COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 60 && GetGValue(c) < 60; }
};

TEST_F(PreviewPane, FirstPaintRecordsThePaneSizeAndShowsTheFace) {
  Paint();
  EXPECT_EQ(PaneWidth, 84);
  EXPECT_EQ(PaneHeight, 63);
  const std::vector<COLORREF> pixels = PanePixels();
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), App.FaceColour), 84 * 63);
}

// Fine noise shrunk 50 times: each ninth of the pane keeps the photo's
// channel means (180, 120, 60); a shrink that drops pixels by AND darkens it.
TEST_F(PreviewPane, ShrunkPhotoKeepsItsColours) {
  Paint();
  ASSERT_EQ(Load(PhotoPath("noise-4200x3150.jpg")), 1);
  Paint();
  const std::vector<COLORREF> pixels = PanePixels();
  for (int cell = 0; cell < 9; ++cell) {
    long sum[3] = {0, 0, 0};
    const int left = cell % 3 * 28, top = cell / 3 * 21;
    for (int y = top; y < top + 21; ++y) {
      for (int x = left; x < left + 28; ++x) {
        const COLORREF c = pixels[y * 84 + x];
        sum[0] += GetRValue(c), sum[1] += GetGValue(c), sum[2] += GetBValue(c);
      }
    }
    EXPECT_NEAR(sum[0] / (28 * 21), 180, 40) << "cell " << cell;
    EXPECT_NEAR(sum[1] / (28 * 21), 120, 40) << "cell " << cell;
    EXPECT_NEAR(sum[2] / (28 * 21), 60, 40) << "cell " << cell;
  }
}

// Stored 4000 x 3000 with its left half red, Orientation 6: shown as a
// portrait 47 x 63 at x 18, red on top.
TEST_F(PreviewPane, TurnedPhotoIsShownUpright) {
  Paint();
  ASSERT_EQ(Load(PhotoPath("turned-6.jpg")), 1);
  Paint();
  for (int x : {18, 41, 64}) {
    EXPECT_TRUE(IsRed(PixelAt(x, 2))) << x;
    EXPECT_TRUE(IsRed(PixelAt(x, 28))) << x;
    EXPECT_TRUE(IsBlue(PixelAt(x, 34))) << x;
    EXPECT_TRUE(IsBlue(PixelAt(x, 60))) << x;
  }
  EXPECT_EQ(PixelAt(17, 31), App.FaceColour);
  EXPECT_EQ(PixelAt(65, 31), App.FaceColour);
}

TEST_F(PreviewPane, FitsPhotosIntoThePaneByTheFitRule) {
  Paint();
  struct Case {
    const char* File;
    int NaturalWidth, NaturalHeight;
    int Width, Height;
  } cases[] = {
      {"landscape-3264x2448.jpg", 3264, 2448, 84, 63},
      {"portrait-2448x3264.jpg", 2448, 3264, 47, 63},
      {"small-40x30.jpg", 40, 30, 40, 30},
      {"turned-6.jpg", 3000, 4000, 47, 63},   // stored 4000 x 3000, Orientation 6: upright sizes
      {"thumb-3x2.jpg", 6000, 4000, 84, 56},  // from the camera's thumbnail, the photo's sizes
  };
  for (const Case& c : cases) {
    int w = 0, h = 0;
    ASSERT_EQ(Load(PhotoPath(c.File), &w, &h), 1) << c.File;
    EXPECT_EQ(w, c.NaturalWidth) << c.File;
    EXPECT_EQ(h, c.NaturalHeight) << c.File;
    SIZE s = BitmapSize(DialogState.PreviewBitmap);
    EXPECT_EQ(s.cx, c.Width) << c.File;
    EXPECT_EQ(s.cy, c.Height) << c.File;
  }
}

// A camera's thumbnail (green) stands in for the photo: the pane shows its
// band framed as the photo, rows Top to Bottom - 1, with no band of black,
// and no box. A 3:2 photo (blue) with a 4:3 thumbnail padded with black
// bands: 84 x 56 at y 3. A frame header of 16000 x 12000 over no picture
// data, with an 80 x 60 thumbnail: 84 x 63, where the whole decode fails.
TEST_F(PreviewPane, CameraThumbnailStandsInForThePhoto) {
  struct Case {
    const char* File;
    int Top, Bottom;
  } cases[] = {
      {"thumb-3x2.jpg", 3, 59},
      {"frame-16000x12000-thumb.jpg", 0, 63},
  };
  Paint();
  MessageBoxWatcher watcher;
  for (const Case& c : cases) {
    ASSERT_EQ(Load(PhotoPath(c.File)), 1) << c.File;
    EXPECT_TRUE(watcher.Take().empty()) << c.File;
    Paint();
    const std::vector<COLORREF> pixels = PanePixels();
    int wrong = 0;
    for (int y = 0; y < 63; ++y) {
      for (int x = 0; x < 84; ++x) {
        const COLORREF p = pixels[y * 84 + x];
        const bool green = GetGValue(p) > 200 && GetRValue(p) < 60 && GetBValue(p) < 60;
        wrong += (y >= c.Top && y < c.Bottom) ? !green : p != App.FaceColour;
      }
    }
    EXPECT_EQ(wrong, 0) << c.File;
  }
}

TEST_F(PreviewPane, PortraitIsPaintedCentredAtX18) {
  Paint();
  ASSERT_EQ(Load(PhotoPath("portrait-2448x3264.jpg")), 1);
  Paint();
  const COLORREF face = App.FaceColour;
  for (int y : {0, 31, 62}) {
    EXPECT_EQ(PixelAt(17, y), face) << y;
    EXPECT_TRUE(IsRed(PixelAt(18, y))) << y;
    EXPECT_TRUE(IsRed(PixelAt(64, y))) << y;  // 18 + 47 - 1
    EXPECT_EQ(PixelAt(65, y), face) << y;
  }
}

TEST_F(PreviewPane, SmallPictureKeepsItsSizeCentredAt22_16) {
  Paint();
  ASSERT_EQ(Load(PhotoPath("small-40x30.jpg")), 1);
  Paint();
  const COLORREF face = App.FaceColour;
  EXPECT_TRUE(IsRed(PixelAt(22, 16)));
  EXPECT_TRUE(IsRed(PixelAt(61, 45)));  // 22 + 40 - 1, 16 + 30 - 1
  EXPECT_EQ(PixelAt(21, 30), face);
  EXPECT_EQ(PixelAt(62, 30), face);
  EXPECT_EQ(PixelAt(40, 15), face);
  EXPECT_EQ(PixelAt(40, 46), face);
}

TEST_F(PreviewPane, BoxOfZeroBeforeTheFirstPaintKeepsTheNaturalSize) {
  ASSERT_EQ(PaneWidth, 0);
  int w = 0, h = 0;
  ASSERT_EQ(Load(PhotoPath("landscape-3264x2448.jpg"), &w, &h), 1);
  SIZE s = BitmapSize(DialogState.PreviewBitmap);
  EXPECT_EQ(s.cx, 3264);
  EXPECT_EQ(s.cy, 2448);
  // The pane then shows the middle part, edge to edge.
  Paint();
  for (POINT p : {POINT{0, 0}, POINT{83, 0}, POINT{0, 62}, POINT{83, 62}, POINT{42, 31}}) {
    EXPECT_TRUE(IsRed(PixelAt(p.x, p.y))) << p.x << "," << p.y;
  }
}

TEST_F(PreviewPane, EachLoadReplacesAndDeletesThePreviousBitmap) {
  Paint();
  ASSERT_EQ(Load(PhotoPath("landscape-3264x2448.jpg")), 1);
  HBITMAP first = DialogState.PreviewBitmap;
  ASSERT_EQ(Load(PhotoPath("small-40x30.jpg")), 1);
  EXPECT_NE(DialogState.PreviewBitmap, first);
  BITMAP gone;
  EXPECT_EQ(GetObjectA(first, sizeof gone, &gone), 0);  // deleted, not leaked
}

// Failures: which are told to the user, and that the previous picture stays.
TEST_F(PreviewPane, FailedLoadsKeepThePreviousPicture) {
  ScratchFolder scratch;
  const std::string text = scratch.Write("note.jpg", "This is a text file, not a picture.\r\n");
  const std::string empty = scratch.Write("empty.jpg", "");
  const std::string held = scratch.Copy(PhotoPath("small-40x30.jpg"), "held.jpg");
  // A real picture made larger than any photo by a sparse tail, which costs
  // no disk; a loader that took it would decode the picture and succeed.
  const std::string huge = scratch.Copy(PhotoPath("small-40x30.jpg"), "huge.jpg");
  {
    HANDLE f = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    LONG high = 0;
    SetFilePointer(f, 257 * 1024 * 1024, &high, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(f));
    CloseHandle(f);
  }
  struct Case {
    const char* Name;
    std::string Path;
    bool Message;  // the Load Picture message, else none
  } cases[] = {
      {"text file named .jpg", text, true},
      {"empty file", empty, true},
      {"file over 256 MiB", huge, true},
      {"frame header over no picture data", PhotoPath("frame-16000x12000.jpg"), true},
      {"held without sharing", held, false},
      {"no such file", scratch.Path + "\\missing.jpg", false},
  };

  Paint();
  ASSERT_EQ(Load(PhotoPath("portrait-2448x3264.jpg")), 1);
  const HBITMAP previous = DialogState.PreviewBitmap;
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  MessageBoxWatcher watcher;
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.Path), 0) << c.Name;
    std::vector<CapturedBox> boxes = watcher.Take();
    if (c.Message) {
      ASSERT_EQ(boxes.size(), 1u) << c.Name;
      EXPECT_EQ(boxes[0].Caption, kErrorCaption) << c.Name;
      EXPECT_EQ(boxes[0].Text, kLoadPictureText) << c.Name;
    } else {
      EXPECT_TRUE(boxes.empty()) << c.Name;
    }
    EXPECT_EQ(DialogState.PreviewBitmap, previous) << c.Name;
    EXPECT_EQ(BitmapSize(DialogState.PreviewBitmap).cx, 47) << c.Name;
  }
  CloseHandle(holder);
  // Once the other program lets go, the same file loads.
  EXPECT_EQ(Load(held), 1);
  EXPECT_TRUE(watcher.Take().empty());
}

// A picture so narrow that it fits to no width at all cannot be rendered:
// the Render message, and the pane is left without a picture.
TEST_F(PreviewPane, RenderFailureLeavesThePaneWithoutAPicture) {
  Paint();
  ASSERT_EQ(Load(PhotoPath("portrait-2448x3264.jpg")), 1);
  const HBITMAP previous = DialogState.PreviewBitmap;
  MessageBoxWatcher watcher;
  int w = 0, h = 0;
  EXPECT_EQ(Load(PhotoPath("sliver-1x1000.jpg"), &w, &h), 0);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 1000);
  std::vector<CapturedBox> boxes = watcher.Take();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, kErrorCaption);
  EXPECT_EQ(boxes[0].Text, "画像の作成に失敗しました(Render)　");
  EXPECT_EQ(DialogState.PreviewBitmap, nullptr);
  BITMAP gone;
  EXPECT_EQ(GetObjectA(previous, sizeof gone, &gone), 0);
  Paint();
  EXPECT_EQ(PixelAt(42, 31), App.FaceColour);
}

TEST_F(PreviewPane, OtherMessagesGoToTheControlsOwnProcedure) {
  // A static control without SS_NOTIFY is transparent to the mouse; the
  // default procedure would claim the client area instead.
  RECT r;
  GetWindowRect(Pane, &r);
  LPARAM centre = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(SendMessageA(Pane, WM_NCHITTEST, 0, centre), HTTRANSPARENT);
  EXPECT_EQ(DefWindowProcA(Pane, WM_NCHITTEST, 0, centre), HTCLIENT);
}

}  // namespace
