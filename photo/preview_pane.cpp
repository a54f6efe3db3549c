#include "photo/preview_pane.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "conditions/dialog_state.h"
#include "photo/exif_reader.h"
#include "photo/preview_fit.h"
#include "shell/app_state.h"

int PaneWidth = 0;
int PaneHeight = 0;
WNDPROC PreviousPaneProc = nullptr;

namespace {

const char kErrorCaption[] = "エラー";
// Each text ends in one full-width space.
const char kCreateStreamText[] = "画像の作成に失敗しました(Create Stream)　";
const char kLoadPictureText[] = "画像の作成に失敗しました(Load Picture)　";
const char kRenderText[] = "画像の作成に失敗しました(Render)　";

// A camera file is a few megabytes; anything past this is not a photo worth
// holding whole in memory for a 56 x 42 dialog-unit preview.
const DWORD kLargestPictureFile = 256u * 1024u * 1024u;

const int kHimetricPerInch = 2540;

void ShowPictureError(HWND owner, const char* text) {
  MessageBoxA(owner, text, kErrorCaption, MB_OK | MB_ICONERROR);
}

// Reads the whole open file into a new movable block and closes the file in
// every case. Returns the block, or nullptr when the file is empty, too
// large, or cannot be held or read whole; nothing is left allocated then.
HGLOBAL ReadWholeFile(HANDLE file, DWORD* size) {
  HGLOBAL block = nullptr;
  DWORD high = 0;
  DWORD low = GetFileSize(file, &high);
  bool sizeKnown = !(low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR);
  if (sizeKnown && high == 0 && low > 0 && low <= kLargestPictureFile) {
    block = GlobalAlloc(GMEM_MOVEABLE, low);
  }
  if (block != nullptr) {
    void* bytes = GlobalLock(block);
    DWORD got = 0;
    BOOL read = bytes != nullptr && ReadFile(file, bytes, low, &got, nullptr);
    if (bytes != nullptr) GlobalUnlock(block);
    if (!read || got != low) {
      GlobalFree(block);
      block = nullptr;
    }
  }
  CloseHandle(file);
  *size = low;
  return block;
}

// Turns the block into a picture object. The stream owns the block from its
// creation on, so the block is freed exactly once: here when no stream was
// made, otherwise with the stream's release. A quiet decode (the camera's
// thumbnail, which the whole file stands behind) shows no box.
IPicture* DecodePicture(HWND owner, HGLOBAL block, DWORD size, bool quiet) {
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || stream == nullptr) {
    if (!quiet) ShowPictureError(owner, kCreateStreamText);
    GlobalFree(block);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                  reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || picture == nullptr) {
    if (!quiet) ShowPictureError(owner, kLoadPictureText);
    return nullptr;
  }
  return picture;
}

// The thumbnail's bytes, copied out of the head into a block of their own.
IPicture* DecodeThumbnail(HWND owner, const unsigned char* bytes, DWORD size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) return nullptr;
  void* copy = GlobalLock(block);
  if (copy == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  memcpy(copy, bytes, size);
  GlobalUnlock(block);
  return DecodePicture(owner, block, size, true);
}

// The stored picture's pixels, turned upright into a new bitmap of the
// upright shape; nullptr when the memory or a bitmap cannot be had. `stored`
// is selected into no context.
HBITMAP TurnBitmap(HDC ownerDc, HBITMAP stored, int width, int height, int orientation) {
  // size_t is 32 bits in the shipped build: the byte count is taken in 64
  // bits and refused when it does not fit.
  const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * sizeof(uint32_t);
  if (width <= 0 || height <= 0 || bytes != static_cast<size_t>(bytes)) return nullptr;
  uint32_t* from = static_cast<uint32_t*>(malloc(static_cast<size_t>(bytes)));
  uint32_t* to = static_cast<uint32_t*>(malloc(static_cast<size_t>(bytes)));
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HBITMAP turned = nullptr;
  if (from != nullptr && to != nullptr &&
      GetDIBits(ownerDc, stored, 0, height, from, &info, DIB_RGB_COLORS) == height) {
    TurnUpright(from, width, height, orientation, to);
    const bool turns = OrientationTurnsSides(orientation);
    info.bmiHeader.biWidth = turns ? height : width;
    info.bmiHeader.biHeight = -(turns ? width : height);
    turned = CreateCompatibleBitmap(ownerDc, info.bmiHeader.biWidth, -info.bmiHeader.biHeight);
    if (turned != nullptr &&
        SetDIBits(ownerDc, turned, 0, -info.bmiHeader.biHeight, to, &info, DIB_RGB_COLORS) == 0) {
      DeleteObject(turned);
      turned = nullptr;
    }
  }
  free(from);
  free(to);
  return turned;
}

// The part of a picture to render, in a grid of its pixels: the whole
// picture is {0, 0, 1, 1} of a 1 x 1 grid.
struct SourceBand {
  int X, Y, Width, Height;
  int GridWidth, GridHeight;
};

// Renders the band of the picture once, scaled to `fit` (the upright size)
// and turned upright, into a new bitmap compatible with the owner window.
// nullptr when no bitmap could be made, Render failed or the picture could
// not be turned.
HBITMAP RenderPreview(HWND owner, IPicture* picture, const SourceBand& band, int orientation,
                      PreviewSize fit) {
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);

  HDC ownerDc = GetDC(owner);
  HDC memoryDc = CreateCompatibleDC(ownerDc);
  // Rendered in the stored shape, then turned.
  const bool turns = OrientationTurnsSides(orientation);
  const int width = turns ? fit.Height : fit.Width;
  const int height = turns ? fit.Width : fit.Height;
  HBITMAP bitmap = CreateCompatibleBitmap(ownerDc, width, height);
  bool rendered = false;
  if (bitmap != nullptr && memoryDc != nullptr) {
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    RECT area = {0, 0, width, height};
    FillRect(memoryDc, &area, App.FaceBrush);
    // The default stretch mode ANDs the pixels a shrink drops, which turns a
    // photo shrunk many times nearly black; HALFTONE averages them.
    if (SetStretchBltMode(memoryDc, HALFTONE) != 0) {
      SetBrushOrgEx(memoryDc, 0, 0, nullptr);
    } else {
      SetStretchBltMode(memoryDc, COLORONCOLOR);
    }
    // HIMETRIC sources count upwards from the picture's bottom edge.
    const OLE_XPOS_HIMETRIC sourceX = MulDiv(band.X, himetricWidth, band.GridWidth);
    const OLE_YPOS_HIMETRIC sourceY = himetricHeight - MulDiv(band.Y, himetricHeight, band.GridHeight);
    const OLE_XSIZE_HIMETRIC sourceWidth = MulDiv(band.Width, himetricWidth, band.GridWidth);
    const OLE_YSIZE_HIMETRIC sourceHeight = MulDiv(band.Height, himetricHeight, band.GridHeight);
    rendered = SUCCEEDED(picture->Render(memoryDc, 0, 0, width, height, sourceX, sourceY,
                                         sourceWidth, -sourceHeight, nullptr));
    // A bitmap still selected into a context cannot be deleted or read.
    SelectObject(memoryDc, previous);
  }
  if (rendered && orientation != 1) {
    HBITMAP turned = TurnBitmap(ownerDc, bitmap, width, height, orientation);
    DeleteObject(bitmap);
    bitmap = turned;
    rendered = turned != nullptr;
  }
  if (memoryDc != nullptr) DeleteDC(memoryDc);
  ReleaseDC(owner, ownerDc);
  if (!rendered && bitmap != nullptr) {
    DeleteObject(bitmap);
    bitmap = nullptr;
  }
  return bitmap;
}

// The camera's own thumbnail, when the head shows one that the plan takes:
// its band rendered at the size the whole photo would have, so the framing
// is the same on either path, or at its own size when the photo is too large
// to decode whole. nullptr when there is none, or it will not decode or
// render.
HBITMAP RenderThumbnail(HWND owner, const unsigned char* head, const PhotoFacts& facts,
                        int boxWidth, int boxHeight, int* naturalWidth, int* naturalHeight) {
  if (!facts.FrameFound || !facts.ExifWhole || facts.ThumbnailLength == 0) return nullptr;
  const int photoWidth = static_cast<int>(facts.FrameWidth);
  const int photoHeight = static_cast<int>(facts.FrameHeight);
  const ThumbnailBand band = PlanThumbnail(
      photoWidth, photoHeight, static_cast<int>(facts.ThumbnailWidth),
      static_cast<int>(facts.ThumbnailHeight), facts.PixelWidth, facts.PixelHeight,
      facts.Orientation, boxWidth, boxHeight);
  if (!band.Use) return nullptr;
  IPicture* picture = DecodeThumbnail(owner, head + facts.ThumbnailStart,
                                      static_cast<DWORD>(facts.ThumbnailLength));
  if (picture == nullptr) return nullptr;
  const bool turns = OrientationTurnsSides(facts.Orientation);
  const int uprightWidth = turns ? photoHeight : photoWidth;
  const int uprightHeight = turns ? photoWidth : photoHeight;
  const SourceBand source = {band.X, band.Y, band.Width, band.Height,
                             static_cast<int>(facts.ThumbnailWidth),
                             static_cast<int>(facts.ThumbnailHeight)};
  const PreviewSize shown = {band.ShowWidth, band.ShowHeight};
  HBITMAP bitmap = RenderPreview(owner, picture, source, facts.Orientation, shown);
  picture->Release();
  if (bitmap != nullptr) {
    *naturalWidth = uprightWidth;
    *naturalHeight = uprightHeight;
  }
  return bitmap;
}

// The whole file decoded, as the picture object reads it. Every failure
// after the file was opened is a box; a failed Render leaves
// *previewBitmap none.
int LoadWholePicture(HWND owner, HANDLE file, int orientation, HBITMAP* previewBitmap,
                     int boxWidth, int boxHeight, int* naturalWidth, int* naturalHeight) {
  DWORD size = 0;
  HGLOBAL block = nullptr;
  if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0) {
    block = ReadWholeFile(file, &size);
  } else {
    CloseHandle(file);
  }
  if (block == nullptr) {
    ShowPictureError(owner, kLoadPictureText);
    return 0;
  }
  IPicture* picture = DecodePicture(owner, block, size, false);
  if (picture == nullptr) return 0;

  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);
  HDC ownerDc = GetDC(owner);
  const int pixelWidth = MulDiv(himetricWidth, GetDeviceCaps(ownerDc, LOGPIXELSX), kHimetricPerInch);
  const int pixelHeight = MulDiv(himetricHeight, GetDeviceCaps(ownerDc, LOGPIXELSY), kHimetricPerInch);
  ReleaseDC(owner, ownerDc);
  const bool turns = OrientationTurnsSides(orientation);
  *naturalWidth = turns ? pixelHeight : pixelWidth;
  *naturalHeight = turns ? pixelWidth : pixelHeight;

  if (*previewBitmap != nullptr) {
    DeleteObject(*previewBitmap);
    *previewBitmap = nullptr;
  }
  const SourceBand whole = {0, 0, 1, 1, 1, 1};
  *previewBitmap = RenderPreview(owner, picture, whole, orientation,
                                 FitPreview(*naturalWidth, *naturalHeight, boxWidth, boxHeight));
  picture->Release();
  if (*previewBitmap == nullptr) ShowPictureError(owner, kRenderText);
  return *previewBitmap != nullptr ? 1 : 0;
}

LRESULT OnPanePaint(HWND pane) {
  RECT client;
  GetClientRect(pane, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  PaneWidth = width;
  PaneHeight = height;

  PAINTSTRUCT paint;
  HDC dc = BeginPaint(pane, &paint);
  SetBkColor(dc, App.FaceColour);
  HBITMAP picture = DialogState.PreviewBitmap;
  if (picture == nullptr) {
    // The face alone, so that no earlier picture stays on the screen.
    FillRect(dc, &client, App.FaceBrush);
    EndPaint(pane, &paint);
    return 0;
  }

  // Background and picture reach the screen together in one copy, so the
  // pane never flickers through the plain face.
  HDC offscreenDc = CreateCompatibleDC(dc);
  HBITMAP offscreen = CreateCompatibleBitmap(dc, width, height);
  if (offscreenDc != nullptr && offscreen != nullptr) {
    HGDIOBJ previousOffscreen = SelectObject(offscreenDc, offscreen);
    FillRect(offscreenDc, &client, App.FaceBrush);

    BITMAP size = {};
    GetObjectA(picture, sizeof size, &size);
    HDC pictureDc = CreateCompatibleDC(dc);
    if (pictureDc != nullptr) {
      HGDIOBJ previousPicture = SelectObject(pictureDc, picture);
      const PanePlacement place = PlacePreview(width, height, size.bmWidth, size.bmHeight);
      BitBlt(offscreenDc, place.DestX, place.DestY, place.Width, place.Height, pictureDc,
             place.SourceX, place.SourceY, SRCCOPY);
      SelectObject(pictureDc, previousPicture);
      DeleteDC(pictureDc);
    }
    BitBlt(dc, 0, 0, width, height, offscreenDc, 0, 0, SRCCOPY);
    SelectObject(offscreenDc, previousOffscreen);
  }
  if (offscreen != nullptr) DeleteObject(offscreen);
  if (offscreenDc != nullptr) DeleteDC(offscreenDc);
  EndPaint(pane, &paint);
  return 0;
}

}  // namespace

int LoadPreviewPicture(HWND owner, const char* path, HBITMAP* previewBitmap, int boxWidth,
                       int boxHeight, int* naturalWidth, int* naturalHeight) {
  // No sharing: a file that another program is still writing is not shown.
  HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  // The head, in one read: the EXIF segment, the frame header and, in a
  // camera's file, its own small JPEG, which spares decoding the whole photo.
  unsigned char* head = static_cast<unsigned char*>(malloc(kExifHeadSize));
  DWORD got = 0;
  PhotoFacts facts = {};
  facts.Orientation = 1;
  if (head != nullptr && ReadFile(file, head, kExifHeadSize, &got, nullptr)) {
    facts = ReadPhotoFacts(head, got);
  }
  HBITMAP thumbnail = head == nullptr ? nullptr
                                      : RenderThumbnail(owner, head, facts, boxWidth, boxHeight,
                                                        naturalWidth, naturalHeight);
  free(head);
  if (thumbnail != nullptr) {
    CloseHandle(file);
    if (*previewBitmap != nullptr) DeleteObject(*previewBitmap);
    *previewBitmap = thumbnail;
    return 1;
  }
  return LoadWholePicture(owner, file, facts.Orientation, previewBitmap, boxWidth, boxHeight,
                          naturalWidth, naturalHeight);
}

LRESULT CALLBACK PreviewPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPanePaint(pane);
  }
  if (PreviousPaneProc == nullptr) return DefWindowProcA(pane, message, wParam, lParam);
  return CallWindowProcA(PreviousPaneProc, pane, message, wParam, lParam);
}
