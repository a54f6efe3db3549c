#include "photo/preview_fit.h"

#include <gtest/gtest.h>

namespace {

TEST(PreviewFit, FitRuleTable) {
  struct Case {
    int32_t Pw, Ph, Bw, Bh;
    int32_t W, H;
  } cases[] = {
      {3264, 2448, 84, 63, 84, 63},    // equal ratios: the height decides, 3264 * 63 / 2448 = 84
      {2448, 3264, 84, 63, 47, 63},    // 47.25 truncated
      {40, 30, 84, 63, 40, 30},        // fits: never enlarged
      {84, 63, 84, 63, 84, 63},        // exactly the box
      {3264, 2448, 0, 0, 3264, 2448},  // pane not painted yet
      {3264, 2448, 84, 0, 3264, 2448},
      {3264, 2448, 0, 63, 3264, 2448},
      {50, 100, 84, 63, 31, 63},       // too tall only: 50 * 63 / 100 = 31.5
      {200, 30, 84, 63, 84, 12},       // too wide only: 30 * 84 / 200 = 12.6
      {400, 100, 84, 63, 84, 21},      // both, wider ratio: width decides
      {100, 400, 84, 63, 15, 63},      // both, taller ratio: 100 * 63 / 400 = 15.75
      {168, 126, 84, 63, 84, 63},      // equal ratios again
      {1, 1000, 84, 63, 0, 63},        // a sliver rounds to nothing
      // Products that do not fit 32 bits still give the true quotient.
      {60000, 50000, 50000, 45000, 50000, 41666},
  };
  for (const Case& c : cases) {
    PreviewSize s = FitPreview(c.Pw, c.Ph, c.Bw, c.Bh);
    EXPECT_EQ(s.Width, c.W) << c.Pw << "x" << c.Ph << " in " << c.Bw << "x" << c.Bh;
    EXPECT_EQ(s.Height, c.H) << c.Pw << "x" << c.Ph << " in " << c.Bw << "x" << c.Bh;
  }
}

TEST(PreviewFit, RatiosAreComparedInSinglePrecision) {
  // 16777217 / 1 and 16777216 / 1 differ as doubles but are the same float,
  // so the ratios count as equal and the height decides.
  PreviewSize s = FitPreview(16777217, 16777216, 1, 1);
  EXPECT_EQ(s.Height, 1);
  EXPECT_EQ(s.Width, 1);
  PreviewSize t = FitPreview(16777218, 16777216, 1, 1);  // 16777218 is a float of its own
  EXPECT_EQ(t.Width, 1);
  EXPECT_EQ(t.Height, 0);
}

TEST(PreviewFit, PlacementTable) {
  struct Case {
    int32_t W, H, Bw, Bh;
    PanePlacement Expected;  // dest x, y, width, height, source x, y
  } cases[] = {
      {84, 63, 84, 63, {0, 0, 84, 63, 0, 0}},
      {84, 63, 47, 63, {18, 0, 47, 63, 0, 0}},      // (84 - 47) / 2 = 18.5 truncated
      {84, 63, 40, 30, {22, 16, 40, 30, 0, 0}},     // centred
      {84, 63, 84, 12, {0, 25, 84, 12, 0, 0}},
      {84, 63, 40, 100, {22, 0, 40, 63, 0, 18}},    // taller: middle rows shown
      {84, 63, 200, 30, {0, 16, 84, 30, 58, 0}},    // wider: middle columns shown
      {84, 63, 3264, 2448, {0, 0, 84, 63, 1590, 1192}},
      {0, 0, 10, 10, {0, 0, 0, 0, 5, 5}},
  };
  for (const Case& c : cases) {
    PanePlacement p = PlacePreview(c.W, c.H, c.Bw, c.Bh);
    const PanePlacement& e = c.Expected;
    EXPECT_EQ(p.DestX, e.DestX) << c.Bw << "x" << c.Bh;
    EXPECT_EQ(p.DestY, e.DestY) << c.Bw << "x" << c.Bh;
    EXPECT_EQ(p.Width, e.Width) << c.Bw << "x" << c.Bh;
    EXPECT_EQ(p.Height, e.Height) << c.Bw << "x" << c.Bh;
    EXPECT_EQ(p.SourceX, e.SourceX) << c.Bw << "x" << c.Bh;
    EXPECT_EQ(p.SourceY, e.SourceY) << c.Bw << "x" << c.Bh;
  }
}

// A picture stored 2 wide and 3 high, pixels 1 to 6 row by row, as each
// orientation shows it upright.
TEST(PreviewFit, EachOrientationTurnsTheStoredPixelsUpright) {
  const uint32_t stored[6] = {1, 2, 3, 4, 5, 6};
  struct Case {
    int Orientation;
    int Width;  // upright: 2 x 3, or 3 x 2 when turned on its side
    uint32_t Upright[6];
  } cases[] = {
      {1, 2, {1, 2, 3, 4, 5, 6}},
      {2, 2, {2, 1, 4, 3, 6, 5}},  // mirrored left to right
      {3, 2, {6, 5, 4, 3, 2, 1}},  // half round
      {4, 2, {5, 6, 3, 4, 1, 2}},  // mirrored top to bottom
      {5, 3, {1, 3, 5, 2, 4, 6}},  // along the main diagonal
      {6, 3, {5, 3, 1, 6, 4, 2}},  // a quarter clockwise: the left column on top
      {7, 3, {6, 4, 2, 5, 3, 1}},  // along the other diagonal
      {8, 3, {2, 4, 6, 1, 3, 5}},  // a quarter anticlockwise: the right column on top
      {0, 2, {1, 2, 3, 4, 5, 6}},  // unknown values copy as stored
      {9, 2, {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    uint32_t upright[6] = {};
    TurnUpright(stored, 2, 3, c.Orientation, upright);
    EXPECT_EQ(OrientationTurnsSides(c.Orientation), c.Width == 3) << c.Orientation;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(upright[i], c.Upright[i]) << c.Orientation << " pixel " << i;
  }
}

// Whether the camera's thumbnail stands in for the photo, its band, and the
// upright size it is shown at. It stands in when its band covers 3/4 of the
// fit each way (band x 4 >= fit x 3): for 160 x 104 and a 3:2 fit, up to a fit
// of 213 x 138, a box of 208 x 156; and for a photo of more than 64 MP at any
// size.
TEST(PreviewFit, ThumbnailPlanTable) {
  struct Case {
    const char* Name;
    int32_t Pw, Ph, Tw, Th;
    uint32_t PixelW, PixelH;
    int Orientation;
    int32_t Bw, Bh;
    ThumbnailBand Expected;
  } cases[] = {
      {"3:2 photo, 4:3 thumbnail padded", 6000, 4000, 160, 120, 0, 0, 1, 84, 63, {true, 0, 8, 160, 104, 84, 56}},
      {"the same at 192 dpi", 6000, 4000, 160, 120, 0, 0, 1, 168, 126, {true, 0, 8, 160, 104, 168, 112}},
      {"the dialog's pane at 192 dpi", 6000, 4000, 160, 120, 0, 0, 1, 196, 152, {true, 0, 8, 160, 104, 196, 130}},
      {"on the line: fit 208 x 138", 6000, 4000, 160, 120, 0, 0, 1, 208, 156, {true, 0, 8, 160, 104, 208, 138}},
      {"past it: fit 209 x 139", 6000, 4000, 160, 120, 0, 0, 1, 209, 156, {false}},
      {"4:3 both: the whole thumbnail", 4000, 3000, 160, 120, 0, 0, 1, 84, 63, {true, 0, 0, 160, 120, 84, 63}},
      {"within 1 %: the whole thumbnail", 4032, 3000, 160, 120, 0, 0, 1, 84, 63, {true, 0, 0, 160, 120, 84, 62}},
      {"16:9 thumbnail of a 4:3 photo", 4000, 3000, 160, 90, 0, 0, 1, 84, 63, {true, 21, 0, 118, 90, 84, 63}},
      {"turned a quarter", 6000, 4000, 160, 120, 0, 0, 6, 84, 63, {true, 0, 8, 160, 104, 42, 63}},
      // Upright fit 120 x 180 against the band's upright 104 x 160; the
      // stored shapes (fit 240 x 160, band 160 x 104) would refuse it.
      {"turned, upright sizes compared", 6000, 4000, 160, 120, 0, 0, 6, 240, 180, {true, 0, 8, 160, 104, 120, 180}},
      {"portrait photo, landscape thumbnail", 4000, 6000, 160, 120, 0, 0, 1, 84, 63, {false}},
      {"pixel dimensions of another aspect", 6000, 4000, 160, 120, 6000, 3000, 1, 84, 63, {false}},
      {"a pane not painted yet", 6000, 4000, 160, 120, 0, 0, 1, 0, 0, {false}},
      // Past 64 MP no whole decode is tried while a thumbnail could stand in.
      {"192 MP, a small thumbnail at its own size", 16000, 12000, 40, 30, 0, 0, 1, 84, 63, {true, 0, 0, 40, 30, 40, 30}},
      {"64 MP exactly", 8000, 8000, 40, 40, 0, 0, 1, 84, 63, {false}},
      {"one row more", 8000, 8001, 40, 40, 0, 0, 1, 84, 63, {true, 0, 0, 40, 40, 39, 40}},
      {"192 MP, portrait thumbnail", 16000, 12000, 30, 40, 0, 0, 1, 84, 63, {false}},
  };
  for (const Case& c : cases) {
    const ThumbnailBand b = PlanThumbnail(c.Pw, c.Ph, c.Tw, c.Th, c.PixelW, c.PixelH, c.Orientation, c.Bw, c.Bh);
    EXPECT_EQ(b.Use, c.Expected.Use) << c.Name;
    if (!c.Expected.Use) continue;
    EXPECT_EQ(b.X, c.Expected.X) << c.Name;
    EXPECT_EQ(b.Y, c.Expected.Y) << c.Name;
    EXPECT_EQ(b.Width, c.Expected.Width) << c.Name;
    EXPECT_EQ(b.Height, c.Expected.Height) << c.Name;
    EXPECT_EQ(b.ShowWidth, c.Expected.ShowWidth) << c.Name;
    EXPECT_EQ(b.ShowHeight, c.Expected.ShowHeight) << c.Name;
  }
}

}  // namespace
