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
