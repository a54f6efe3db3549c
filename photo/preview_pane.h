// The preview pane of the conditions dialog: the loader that renders a photo
// into DialogState.PreviewBitmap, and the procedure that paints it into
// control 1431. Main thread only. The dialog owns PreviewBitmap and deletes
// it on every way out; the loader only replaces it.
#pragma once
#include <windows.h>

// The pane's client size at its latest paint, 0 until its first paint; the
// dialog passes them to the loader as the box to fit into.
extern int PaneWidth;
extern int PaneHeight;
// Control 1431's own procedure, kept by the dialog when it subclasses the
// control; everything but WM_PAINT goes to it.
extern WNDPROC PreviousPaneProc;

// Renders the picture file `path` once, upright as its EXIF orientation says
// and scaled to fit boxWidth x boxHeight (0 x 0: natural size), into a new
// bitmap compatible with `owner`, which replaces *previewBitmap. A camera's
// own thumbnail in the file's first 128 KB stands in for the photo when it
// covers 3/4 of the fitted size each way, or at any size when the photo is
// larger than a 32-bit process can decode whole (PlanThumbnail); otherwise
// the whole file is decoded. The upright natural size in pixels goes to
// *naturalWidth and *naturalHeight. Returns 1 when *previewBitmap holds the
// new picture, else 0. A file that cannot be opened gives 0 silently and
// keeps the old picture; every later failure of the whole file is a message
// box owned by `owner` (the thumbnail's are silent).
int LoadPreviewPicture(HWND owner, const char* path, HBITMAP* previewBitmap, int boxWidth,
                       int boxHeight, int* naturalWidth, int* naturalHeight);

// Window procedure for control 1431: paints DialogState.PreviewBitmap centred
// on the button face through one off-screen copy, or the face alone when
// there is none; passes every other message to PreviousPaneProc.
LRESULT CALLBACK PreviewPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
