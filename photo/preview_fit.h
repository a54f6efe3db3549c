// How the preview fits a picture into the pane and where the pane places it.
// Pure: no <windows.h>, no state; any thread.
#pragma once
#include <cstdint>

struct PreviewSize {
  int32_t Width;
  int32_t Height;
};

// The bitmap size for a picture of pictureWidth x pictureHeight pixels in a
// box of boxWidth x boxHeight: scaled down with its aspect kept, never
// enlarged. A box without area (the pane not painted yet) keeps the natural
// size. Sizes are truncated, as 32-bit integer arithmetic would give them.
PreviewSize FitPreview(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth,
                       int32_t boxHeight);

// One BitBlt of the preview bitmap into the pane.
struct PanePlacement {
  int32_t DestX, DestY;      // where it lands in the pane
  int32_t Width, Height;     // how much is copied
  int32_t SourceX, SourceY;  // where the copy starts in the bitmap
};

// A bitmap that fits the pane is centred; in a direction where it is larger,
// its middle part is shown, cut equally on both sides.
PanePlacement PlacePreview(int32_t paneWidth, int32_t paneHeight, int32_t bitmapWidth,
                           int32_t bitmapHeight);

// The EXIF orientations 5 to 8 store a picture on its side: its upright
// width is its stored height.
bool OrientationTurnsSides(int orientation);

// Copies the pixels of a picture stored storedWidth x storedHeight (rows
// top-down, one 32-bit value a pixel) into `upright`, turned and mirrored as
// the EXIF orientation says, so that it shows as the camera saw it: 1 as
// stored, 2 mirrored left to right, 3 turned half round, 4 mirrored top to
// bottom, 5 mirrored along the main diagonal, 6 turned a quarter clockwise,
// 7 mirrored along the other diagonal, 8 turned a quarter anticlockwise.
// `upright` holds storedHeight x storedWidth pixels for 5 to 8; any other
// value copies as 1.
void TurnUpright(const uint32_t* stored, int32_t storedWidth, int32_t storedHeight, int orientation,
                 uint32_t* upright);

// The most pixels (as a photo's frame header gives them) whose whole decode
// the preview tries when the camera's thumbnail could stand in instead: the
// picture object holds a decoded photo in one block of about 3 to 4 bytes a
// pixel, which a 32-bit process cannot count on having past 64 MP.
constexpr int64_t kLargestWholeDecode = 64 * 1000 * 1000;

// The part of a camera's thumbnail that the preview shows, in the
// thumbnail's pixels, and the upright size of the bitmap it is rendered into;
// Use is false when the whole photo must be decoded.
struct ThumbnailBand {
  bool Use;
  int32_t X, Y, Width, Height;
  int32_t ShowWidth, ShowHeight;
};

// Whether a thumbnail of thumbWidth x thumbHeight stands for a photo whose
// frame is photoWidth x photoHeight (both as stored) in a box of boxWidth x
// boxHeight, and which part of it. The band is the centred part with the
// photo's aspect: the whole thumbnail when the aspects agree within 1 %,
// else cut to the photo's aspect with one more pixel off each cut side (JPEG
// blocks smear a camera's black padding into the edge rows). Never used when
// one of photo and thumbnail is landscape and the other portrait, or when the
// EXIF pixel dimensions (0: absent) disagree with the frame's aspect by more
// than 1 %. Otherwise it is used when, turned upright, it covers at least
// 3/4 of the fit rule's size for the photo's upright size in each direction,
// and is then stretched into that size; and for a photo of more than
// kLargestWholeDecode pixels it is used however small, at its own size.
ThumbnailBand PlanThumbnail(int32_t photoWidth, int32_t photoHeight, int32_t thumbWidth,
                            int32_t thumbHeight, uint32_t pixelWidth, uint32_t pixelHeight,
                            int orientation, int32_t boxWidth, int32_t boxHeight);
