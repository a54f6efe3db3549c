#include "photo/preview_pane.h"

#include <ole2.h>
#include <olectl.h>

#include "conditions/dialog_state.h"
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

// Renders the picture once, scaled into the box, into a new bitmap that
// replaces *previewBitmap. False when no bitmap could be made or Render
// failed; *previewBitmap is then none.
bool RenderPreview(HWND owner, IPicture* picture, HBITMAP* previewBitmap, int boxWidth,
                   int boxHeight, int* naturalWidth, int* naturalHeight) {
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);

  HDC ownerDc = GetDC(owner);
  const int pixelWidth = MulDiv(himetricWidth, GetDeviceCaps(ownerDc, LOGPIXELSX), kHimetricPerInch);
  const int pixelHeight = MulDiv(himetricHeight, GetDeviceCaps(ownerDc, LOGPIXELSY), kHimetricPerInch);
  *naturalWidth = pixelWidth;
  *naturalHeight = pixelHeight;

  HDC memoryDc = CreateCompatibleDC(ownerDc);
  if (*previewBitmap != nullptr) {
    DeleteObject(*previewBitmap);
    *previewBitmap = nullptr;
  }
  const PreviewSize size = FitPreview(pixelWidth, pixelHeight, boxWidth, boxHeight);
  HBITMAP bitmap = CreateCompatibleBitmap(ownerDc, size.Width, size.Height);
  bool rendered = false;
  if (bitmap != nullptr && memoryDc != nullptr) {
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    RECT area = {0, 0, size.Width, size.Height};
    FillRect(memoryDc, &area, App.FaceBrush);
    rendered = SUCCEEDED(picture->Render(memoryDc, 0, 0, size.Width, size.Height, 0, himetricHeight,
                                         himetricWidth, -himetricHeight, nullptr));
    // A bitmap still selected into a context cannot be deleted.
    SelectObject(memoryDc, previous);
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
  IPicture* picture = DecodePicture(owner, block, size);
  if (picture == nullptr) return 0;

  bool rendered = RenderPreview(owner, picture, previewBitmap, boxWidth, boxHeight, naturalWidth,
                                naturalHeight);
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
