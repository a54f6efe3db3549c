#include "photo/preview_pane.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <cstdlib>

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
// made, otherwise with the stream's release.
IPicture* DecodePicture(HWND owner, HGLOBAL block, DWORD size) {
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || stream == nullptr) {
    ShowPictureError(owner, kCreateStreamText);
    GlobalFree(block);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                  reinterpret_cast<void**>(&picture));
  if (FAILED(loaded) || picture == nullptr) {
    ShowPictureError(owner, kLoadPictureText);
    stream->Release();
    return nullptr;
  }
  stream->Release();
  return picture;
}

// The stored picture's pixels, turned upright into a new bitmap of the
// upright shape; nullptr when the memory or a bitmap cannot be had. `stored`
// is selected into no context.
HBITMAP TurnBitmap(HDC ownerDc, HBITMAP stored, int width, int height, int orientation) {
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  uint32_t* from = static_cast<uint32_t*>(malloc(pixels * sizeof(uint32_t)));
  uint32_t* to = static_cast<uint32_t*>(malloc(pixels * sizeof(uint32_t)));
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

// Renders the picture once, upright and scaled into the box, into a new
// bitmap that replaces *previewBitmap. The natural size is the upright one.
// False when no bitmap could be made, Render failed or the picture could
// not be turned; *previewBitmap is then none.
bool RenderPreview(HWND owner, IPicture* picture, int orientation, HBITMAP* previewBitmap,
                   int boxWidth, int boxHeight, int* naturalWidth, int* naturalHeight) {
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);

  HDC ownerDc = GetDC(owner);
  const int pixelWidth = MulDiv(himetricWidth, GetDeviceCaps(ownerDc, LOGPIXELSX), kHimetricPerInch);
  const int pixelHeight = MulDiv(himetricHeight, GetDeviceCaps(ownerDc, LOGPIXELSY), kHimetricPerInch);
  const bool turns = OrientationTurnsSides(orientation);
  *naturalWidth = turns ? pixelHeight : pixelWidth;
  *naturalHeight = turns ? pixelWidth : pixelHeight;

  HDC memoryDc = CreateCompatibleDC(ownerDc);
  if (*previewBitmap != nullptr) {
    DeleteObject(*previewBitmap);
    *previewBitmap = nullptr;
  }
  // Fitted upright, rendered in the stored shape, then turned.
  const PreviewSize fit = FitPreview(*naturalWidth, *naturalHeight, boxWidth, boxHeight);
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
    rendered = SUCCEEDED(picture->Render(memoryDc, 0, 0, width, height, 0, himetricHeight,
                                         himetricWidth, -himetricHeight, nullptr));
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
  if (rendered) {
    *previewBitmap = bitmap;
  } else if (bitmap != nullptr) {
    DeleteObject(bitmap);
  }
  return rendered;
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
  DWORD size = 0;
  HGLOBAL block = ReadWholeFile(file, &size);
  if (block == nullptr) {
    ShowPictureError(owner, kLoadPictureText);
    return 0;
  }
  int orientation = 1;
  if (const unsigned char* bytes = static_cast<const unsigned char*>(GlobalLock(block))) {
    orientation = ParseOrientation(bytes, size);
    GlobalUnlock(block);
  }
  IPicture* picture = DecodePicture(owner, block, size);
  if (picture == nullptr) return 0;

  bool rendered = RenderPreview(owner, picture, orientation, previewBitmap, boxWidth, boxHeight,
                                naturalWidth, naturalHeight);
  picture->Release();
  if (!rendered) ShowPictureError(owner, kRenderText);
  return *previewBitmap != nullptr ? 1 : 0;
}

LRESULT CALLBACK PreviewPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPanePaint(pane);
  }
  if (PreviousPaneProc == nullptr) return DefWindowProcA(pane, message, wParam, lParam);
  return CallWindowProcA(PreviousPaneProc, pane, message, wParam, lParam);
}
