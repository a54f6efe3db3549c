#include "photo/preview_fit.h"

#include <cstddef>

namespace {

// a * b / c, multiplied first and truncated. The product is taken in 64 bits
// so that a large picture in a large box cannot overflow; the quotient is
// never larger than a or b, so it fits 32 bits again.
int32_t ScaleSide(int32_t a, int32_t b, int32_t c) {
  return static_cast<int32_t>(static_cast<int64_t>(a) * b / c);
}

}  // namespace

PreviewSize FitPreview(int32_t pw, int32_t ph, int32_t bw, int32_t bh) {
  PreviewSize natural = {pw, ph};
  if (bw <= 0 || bh <= 0) return natural;
  if (pw <= bw && ph <= bh) return natural;
  PreviewSize widthBound = {bw, 0};
  PreviewSize heightBound = {0, bh};
  if (pw <= bw) {
    heightBound.Width = ScaleSide(pw, bh, ph);
    return heightBound;
  }
  if (ph <= bh) {
    widthBound.Height = ScaleSide(ph, bw, pw);
    return widthBound;
  }
  // Single-precision ratios; the volatile stores make the 32-bit build's x87
  // registers round them to float exactly as the 64-bit build's SSE does, so
  // both builds agree where the ratios are equal and the height decides.
  volatile float widthRatio = static_cast<float>(pw) / static_cast<float>(bw);
  volatile float heightRatio = static_cast<float>(ph) / static_cast<float>(bh);
  if (widthRatio > heightRatio) {
    widthBound.Height = ScaleSide(ph, bw, pw);
    return widthBound;
  }
  heightBound.Width = ScaleSide(pw, bh, ph);
  return heightBound;
}

PanePlacement PlacePreview(int32_t paneWidth, int32_t paneHeight, int32_t bitmapWidth,
                           int32_t bitmapHeight) {
  PanePlacement p = {0, 0, 0, 0, 0, 0};
  if (paneWidth >= bitmapWidth) {
    p.DestX = (paneWidth - bitmapWidth) / 2;
    p.Width = bitmapWidth;
  } else {
    p.SourceX = (bitmapWidth - paneWidth) / 2;
    p.Width = paneWidth;
  }
  if (paneHeight >= bitmapHeight) {
    p.DestY = (paneHeight - bitmapHeight) / 2;
    p.Height = bitmapHeight;
  } else {
    p.SourceY = (bitmapHeight - paneHeight) / 2;
    p.Height = paneHeight;
  }
  return p;
}

bool OrientationTurnsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

void TurnUpright(const uint32_t* stored, int32_t sw, int32_t sh, int orientation, uint32_t* upright) {
  const bool turns = OrientationTurnsSides(orientation);
  const int32_t uw = turns ? sh : sw;
  const int32_t uh = turns ? sw : sh;
  for (int32_t y = 0; y < uh; ++y) {
    for (int32_t x = 0; x < uw; ++x) {
      // The stored pixel (column c, row r) that shows at (x, y).
      int32_t c = x, r = y;
      switch (orientation) {
        case 2: c = sw - 1 - x; break;
        case 3: c = sw - 1 - x; r = sh - 1 - y; break;
        case 4: r = sh - 1 - y; break;
        case 5: c = y; r = x; break;
        case 6: c = y; r = sh - 1 - x; break;
        case 7: c = sw - 1 - y; r = sh - 1 - x; break;
        case 8: c = sw - 1 - y; r = x; break;
        default: break;
      }
      upright[static_cast<size_t>(y) * uw + x] = stored[static_cast<size_t>(r) * sw + c];
    }
  }
}

namespace {

// |a - b| * 100 <= b: two aspects, as cross products, within 1 % of each other.
bool WithinOnePercent(int64_t a, int64_t b) { return (a > b ? a - b : b - a) * 100 <= b; }

}  // namespace

ThumbnailBand PlanThumbnail(int32_t pw, int32_t ph, int32_t tw, int32_t th, uint32_t pixelWidth,
                            uint32_t pixelHeight, int orientation, int32_t bw, int32_t bh) {
  ThumbnailBand band = {false, 0, 0, tw, th, 0, 0};
  if (pw <= 0 || ph <= 0 || tw <= 0 || th <= 0) return band;
  if ((pw > ph && th > tw) || (ph > pw && tw > th)) return band;
  if (pixelWidth != 0 && pixelHeight != 0 &&
      !WithinOnePercent(static_cast<int64_t>(pixelWidth) * ph, static_cast<int64_t>(pixelHeight) * pw)) {
    return band;
  }
  const int64_t thumbCross = static_cast<int64_t>(tw) * ph;
  const int64_t photoCross = static_cast<int64_t>(th) * pw;
  if (!WithinOnePercent(thumbCross, photoCross)) {
    if (thumbCross < photoCross) {  // taller than the photo: bands above and below
      const int32_t rows = static_cast<int32_t>(thumbCross / pw);
      band.Y = (th - rows) / 2 + 1;
      band.Height = rows - 2;
    } else {  // wider: bands left and right
      const int32_t columns = static_cast<int32_t>(photoCross / ph);
      band.X = (tw - columns) / 2 + 1;
      band.Width = columns - 2;
    }
  }
  if (band.Width <= 0 || band.Height <= 0) return band;
  const bool turns = OrientationTurnsSides(orientation);
  const int32_t photoUprightWidth = turns ? ph : pw;
  const int32_t photoUprightHeight = turns ? pw : ph;
  const int32_t uprightWidth = turns ? band.Height : band.Width;
  const int32_t uprightHeight = turns ? band.Width : band.Height;
  const PreviewSize fit = FitPreview(photoUprightWidth, photoUprightHeight, bw, bh);
  // 3/4 in integers: a floating-point quotient such as 104 / 130 >= 0.8
  // comes out one way on the 32-bit build's x87 and another on SSE.
  if (static_cast<int64_t>(uprightWidth) * 4 >= static_cast<int64_t>(fit.Width) * 3 &&
      static_cast<int64_t>(uprightHeight) * 4 >= static_cast<int64_t>(fit.Height) * 3) {
    band.Use = true;
    band.ShowWidth = fit.Width;
    band.ShowHeight = fit.Height;
    return band;
  }
  if (static_cast<int64_t>(pw) * ph <= kLargestWholeDecode) return band;
  // Shown as it is, never stretched, and never larger than the fit.
  const PreviewSize own = FitPreview(photoUprightWidth, photoUprightHeight, uprightWidth, uprightHeight);
  band.Use = own.Width > 0 && own.Height > 0;
  band.ShowWidth = own.Width < fit.Width ? own.Width : fit.Width;
  band.ShowHeight = own.Height < fit.Height ? own.Height : fit.Height;
  return band;
}
