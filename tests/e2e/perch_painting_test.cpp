// What Perch paints, read back from its window's pixels: the OS line at
// (130, 15), the heading at (10, 52), the etched frame 3 pixels inside the
// client area (43 from the top, 55 from the bottom) and the target's icon at
// (20, 6), on the button face. The test draws the same picture itself from
// those literals and its own font ("ＭＳ ゴシック", Shift-JIS, height 14) and
// compares every pixel outside the six controls.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/perch_fixture.h"

using namespace perch_e2e;

namespace {

const char kHeading[] = "アイコン(ショートカット)を登録します";
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);

// A picture as 32-bit rows, top-down, read as COLORREF values.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// A 32-bit top-down DIB section selected into a memory DC.
struct Canvas {
  HDC Dc = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Previous = nullptr;
  const unsigned char* Bits = nullptr;
  int Width = 0, Height = 0;

  bool Make(int width, int height) {
    Width = width;
    Height = height;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    Dc = CreateCompatibleDC(screen);
    void* bits = nullptr;
    Bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (Dc == nullptr || Bitmap == nullptr) return false;
    Bits = static_cast<const unsigned char*>(bits);
    Previous = SelectObject(Dc, Bitmap);
    return true;
  }
  Picture Read() const {
    GdiFlush();
    Picture p;
    p.Width = Width;
    p.Height = Height;
    p.Pixels.resize(static_cast<size_t>(Width) * Height);
    for (size_t i = 0; i < p.Pixels.size(); ++i) {
      const unsigned char* b = Bits + 4 * i;  // blue, green, red, unused
      p.Pixels[i] = RGB(b[2], b[1], b[0]);
    }
    return p;
  }
  ~Canvas() {
    if (Previous != nullptr) SelectObject(Dc, Previous);
    if (Bitmap != nullptr) DeleteObject(Bitmap);
    if (Dc != nullptr) DeleteDC(Dc);
  }
};

// The client area of another process's window as the screen shows it.
bool CaptureClient(HWND window, Picture& picture) {
  RECT client;
  if (!GetClientRect(window, &client)) return false;
  Canvas canvas;
  if (!canvas.Make(client.right, client.bottom)) return false;
  HDC dc = GetDC(window);
  if (dc == nullptr) return false;
  BOOL copied = BitBlt(canvas.Dc, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  if (!copied) return false;
  picture = canvas.Read();
  return true;
}

void Line(HDC dc, COLORREF colour, int x1, int y1, int x2, int y2) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ previous = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, previous);
  DeleteObject(pen);
}

// The picture Perch should paint on a client area of this size.
bool Expected(int width, int height, const char* osLine, HICON icon, Picture& picture) {
  Canvas canvas;
  if (!canvas.Make(width, height)) return false;
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  HBRUSH brush = CreateSolidBrush(face);
  RECT all = {0, 0, width, height};
  FillRect(canvas.Dc, &all, brush);
  DeleteObject(brush);
  HFONT font = LiteralGothic();
  HGDIOBJ previous = SelectObject(canvas.Dc, font);
  SetTextColor(canvas.Dc, RGB(0, 0, 0));
  SetBkColor(canvas.Dc, face);
  if (osLine != nullptr) TextOutA(canvas.Dc, 130, 15, osLine, static_cast<int>(strlen(osLine)));
  TextOutA(canvas.Dc, 10, 52, kHeading, static_cast<int>(strlen(kHeading)));
  SelectObject(canvas.Dc, previous);
  DeleteObject(font);
  int l = 3, t = 43, r = width - 3, b = height - 55;
  Line(canvas.Dc, kGrey, l, t, l, b);
  Line(canvas.Dc, kGrey, l, t, r, t);
  Line(canvas.Dc, kWhite, l, b - 1, r, b - 1);
  Line(canvas.Dc, kWhite, r - 1, t, r - 1, b);
  if (icon != nullptr) DrawIcon(canvas.Dc, 20, 6, icon);
  picture = canvas.Read();
  return true;
}

// The six controls paint themselves; their rectangles are left out.
std::vector<RECT> ControlRects(PerchRun& p) {
  std::vector<RECT> rects;
  for (int id = 1001; id <= 1006; ++id) {
    RECT r = WindowRect(p.Control(id));
    MapWindowPoints(nullptr, p.Main, reinterpret_cast<POINT*>(&r), 2);
    rects.push_back(r);
  }
  return rects;
}

bool InAny(const std::vector<RECT>& rects, int x, int y) {
  for (const RECT& r : rects) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

// How many pixels outside the controls differ, with the first few named.
int Differences(const Picture& seen, const Picture& want, const std::vector<RECT>& skip,
                std::string& where) {
  if (seen.Width != want.Width || seen.Height != want.Height) return -1;
  int count = 0;
  for (int y = 0; y < seen.Height; ++y) {
    for (int x = 0; x < seen.Width; ++x) {
      if (InAny(skip, x, y) || seen.At(x, y) == want.At(x, y)) continue;
      if (++count <= 8) {
        char note[80];
        snprintf(note, sizeof note, " (%d,%d) %06lx not %06lx", x, y,
                 static_cast<unsigned long>(seen.At(x, y)),
                 static_cast<unsigned long>(want.At(x, y)));
        where += note;
      }
    }
  }
  return count;
}

// Starts Perch, waits until its window shows the expected picture (or the
// time is up) and expects every pixel outside the controls to match.
void ExpectPainting(PerchRun& p, const char* osLine, HICON icon) {
  ASSERT_NO_FATAL_FAILURE(p.Start());
  // The first paint happens before Perch's message loop takes any message.
  ASSERT_TRUE(p.Answered());
  RECT client;
  ASSERT_TRUE(GetClientRect(p.Main, &client));
  Picture want;
  ASSERT_TRUE(Expected(client.right, client.bottom, osLine, icon, want));
  std::vector<RECT> controls = ControlRects(p);
  Picture seen;
  std::string where;
  int differences = -1;
  WaitUntil(
      [&] {
        where.clear();
        differences = CaptureClient(p.Main, seen) ? Differences(seen, want, controls, where) : -1;
        return differences == 0;
      },
      kWait);
  EXPECT_EQ(differences, 0) << where;
  // The frame's corners in the colours the picture was drawn with: grey
  // left and top, white bottom and right.
  if (seen.Width == client.right && seen.Height == client.bottom) {
    int r = client.right - 3, b = client.bottom - 55;
    EXPECT_EQ(seen.At(3, 44), kGrey);
    EXPECT_EQ(seen.At(4, 43), kGrey);
    EXPECT_EQ(seen.At(3, b - 1), kWhite);
    EXPECT_EQ(seen.At(r - 1, 43), kWhite);
    EXPECT_EQ(seen.At(r - 2, b - 1), kWhite);
    EXPECT_EQ(seen.At(r, 44), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(seen.At(3, b), GetSysColor(COLOR_BTNFACE));
  }
}

void CloseConfirmed(PerchRun& p) {
  PostMessageA(p.Main, WM_CLOSE, 0, 0);
  MessageBoxSeen box;
  ASSERT_TRUE(WaitForMessageBox(p.Run.Process.dwProcessId, kWait, box));
  AnswerMessageBox(box, IDYES);
  ASSERT_NO_FATAL_FAILURE(p.ExpectEnd());
}

// The icon that Perch should show: the target's first, as this process
// reads it.
struct TargetIcon {
  HICON Icon = nullptr;
  explicit TargetIcon(const std::string& path) {
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), 0);
    if (reinterpret_cast<UINT_PTR>(icon) > 1) Icon = icon;
  }
  ~TargetIcon() {
    if (Icon != nullptr) DestroyIcon(Icon);
  }
};

TEST(PerchPainting, OsLineHeadingFrameAndIconOnEachWindowsGeneration) {
  struct Case {
    const char* Version;
    const char* OsLine;  // null: Windows 8 and later have none
  } cases[] = {
      {"win98", "(OS : Windows 95 ～ Me)"}, {"nt40", "(OS : Windows NT)"},
      {"win2k", "(OS : Windows 2000)"},     {"winxp", "(OS : Windows XP)"},
      {"vista", "(OS : Windows Vista)"},    {"win7", "(OS : Windows 7)"},
      {"win8", nullptr},                    {"win10", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Version);
    VersionScope version(c.Version);
    ASSERT_TRUE(version.Ok);
    PerchRun p;
    ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-paint", "Tessel"));
    TargetIcon icon(JoinPath(p.Folder, kTargetName));
    ASSERT_NE(icon.Icon, nullptr);
    ASSERT_NO_FATAL_FAILURE(ExpectPainting(p, c.OsLine, icon.Icon));
    ASSERT_NO_FATAL_FAILURE(CloseConfirmed(p));
  }
}

// The OS line's own box holds dark glyph pixels, and nothing is painted
// between the icon and it: a check that does not lean on the test's own
// drawing of the text.
TEST(PerchPainting, TheOsLineIsInItsBoxAndNowhereElse) {
  VersionScope version("winxp");
  ASSERT_TRUE(version.Ok);
  PerchRun p;
  ASSERT_NO_FATAL_FAILURE(p.PrepareFor("perch-osline", "Tessel"));
  ASSERT_NO_FATAL_FAILURE(p.Start());
  ASSERT_TRUE(p.Answered());
  const char line[] = "(OS : Windows XP)";
  HDC screen = GetDC(nullptr);
  HFONT font = LiteralGothic();
  HGDIOBJ previous = SelectObject(screen, font);
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(screen, line, static_cast<int>(strlen(line)), &extent);
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  ASSERT_GT(extent.cx, 0);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto dark = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 64; };
  Picture seen;
  int inBox = 0, outside = 0;
  WaitUntil(
      [&] {
        if (!CaptureClient(p.Main, seen)) return false;
        inBox = 0;
        outside = 0;
        for (int y = 0; y < 43; ++y) {
          for (int x = 0; x < seen.Width; ++x) {
            bool box = x >= 130 && x < 130 + extent.cx && y >= 15 && y < 15 + 14;
            bool icon = x >= 20 && x < 52 && y >= 6 && y < 38;
            if (box && dark(seen.At(x, y))) ++inBox;
            if (!box && !icon && seen.At(x, y) != face) ++outside;
          }
        }
        return inBox > 0;
      },
      kWait);
  EXPECT_GT(inBox, 20);
  EXPECT_EQ(outside, 0);
  ASSERT_NO_FATAL_FAILURE(CloseConfirmed(p));
}

// A target that is a plain text file, or no file at all: no icon, the rest
// as usual, and the window works on.
TEST(PerchPainting, ATargetWithoutAnIconPaintsNone) {
  struct Case {
    const char* Name;
    const char* Target;
    bool Write;
  } cases[] = {{"a text file", "Notes.txt", true}, {"missing", "Missing.exe", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    VersionScope version("win7");
    ASSERT_TRUE(version.Ok);
    PerchRun p;
    std::string inf = InstructionFile(c.Target, "Tessel");
    ASSERT_NO_FATAL_FAILURE(p.Prepare("perch-noicon", &inf));
    if (c.Write) {
      const char text[] = "not a program\r\n";
      ASSERT_TRUE(WriteFileBytes(JoinPath(p.Folder, c.Target), text, sizeof text - 1));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectPainting(p, "(OS : Windows 7)", nullptr));
    // Still answering: a tick goes on and off again.
    p.Click(1003);
    EXPECT_EQ(p.Checked(1003), BST_UNCHECKED);
    p.Click(1003);
    EXPECT_EQ(p.Checked(1003), BST_CHECKED);
    ASSERT_NO_FATAL_FAILURE(CloseConfirmed(p));
  }
}

}  // namespace
