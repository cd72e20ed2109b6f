// layered-probe MODE TICKS [HOLD_MS]: what a step of a 114 x 119 layered
// window costs and what it shows under Wine. At each of TICKS ticks of a 70-ms
// timer the window steps 7 px, or shows another of five shapes in place, or
// both, a figure of one colour on the key colour, done as MODE says:
//   ulw              UpdateLayeredWindow with the colour key, from a 32-bit DIB
//                    section whose every pixel has its fourth byte 255: the move
//                    and the paint in one call
//   ulw-ddb          the same from a bitmap made for the display
//                    (CreateCompatibleBitmap) and drawn with GDI, whose fourth byte is 0
//   ulw-copied       the same from a 32-bit DIB section into which the picture
//                    was copied (BitBlt) from a bitmap made for the display, its
//                    ground laid in the key colour by PatBlt with a DC brush, as
//                    the pet composes it; prints the bytes the copy left
//   ulw-copied-opaque  the same, then the fourth byte of every pixel set to 255
//   ulw-inplace      only a new picture: UpdateLayeredWindow without a place
//   ulw-move         only a move: UpdateLayeredWindow with a place and no picture
//   move             keyed once (SetLayeredWindowAttributes); SetWindowPos that
//                    keeps the window's bits, one paint, a wait that lets both through
//   move-nocopybits  the same moved with SWP_NOCOPYBITS: the system throws the
//                    bits away and asks for a second paint
//   move-noflush     as `move`, without the wait: the loop's next look lets them through
//   walk             keyed; SetWindowPos with SWP_NOCOPYBITS, one paint, the
//                    window marked valid (ValidateRect) so that the system asks
//                    for no second paint, no wait
//   walk-region      the same in a window that is not layered, shaped by a
//                    region for each shape, set before the move (the 8-bit way)
//   paint-inplace    keyed; only a new picture: one paint, ValidateRect, no wait
//   move-only        keyed; only a move: SetWindowPos that keeps the bits, no
//                    paint, no wait
//   idle             the timer alone: what the message loop costs a tick
// Every tick starts with a request that names it in the Wine server's trace
// (GlobalFindAtomW of "morvet-tick MODE"), so that layered_probe.sh can count
// the requests of each tick. The first and the last counted tick are named
// "warm" and "end". It prints the paints of a tick (copies of a picture into
// the window, UpdateLayeredWindow with a picture included) and the paint
// messages. Then it takes 20 more steps, named "look", at each of which it
// reads the screen where the window stood and stands (through GDI) at the
// start of the next tick, after the message loop let the step through, and,
// where a move and a paint are two calls, between them; it prints how often
// it saw the new picture at the new place, the picture before, a blank window.
// With HOLD_MS it then holds the figure still with its window at (300, 300)
// over a plain window (at 250, 250, 100 x 200, green) and the desktop, prints
// three pixels of the screen (one on the figure, one beside it over the green
// window, one beside it over the desktop, each named by the nearest colour),
// turns the plain window navy and reads them again, and prints every left
// press either window gets until HOLD_MS is over.
// What it showed under Wine 8 on Xvfb (requests of a step, medians, the
// loop's 3 included, at 32 / 16 / 8 bits):
// - walking: ulw 31 / 31 / 38, move-noflush 37 / 37 / 34, walk 38 / 38 / 35,
//   move-nocopybits 51 / 51 / 48 with 2 paints, walk-region 73 at each depth;
//   in place: ulw-inplace 31 / 30 / 38, paint-inplace 7 / 7 / 4; only a move:
//   ulw-move 30 / 30 / 38, move-only 32 at each depth. Every way but
//   move-nocopybits painted once a step and got no paint message.
// - At each next tick every way that shows the figure showed the new picture at
//   the new place; between the move and the paint the keyed window showed the
//   picture before at the new place, the region window a figure with pixels
//   missing. UpdateLayeredWindow showed nothing at 8 bits (a black window that
//   takes every click), nor from a section whose fourth byte is 0 at 32 and 16.
// - The copy from the display's bitmap into the 32-bit section keeps the key
//   exactly RGB(255, 0, 255) at 32, 16 and 8 bits but leaves the fourth byte 0;
//   with it set to 255 the key passes the desktop and the clicks beside the figure.
// Build: cmake --build build/windows --target layered-probe
// Run:   benchmarks/windows/layered_probe.sh (a display and a server trace of its own)
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The pet's window: 114 x 119 with a margin of 7 around the figure, which
// takes one of 5 shapes a step, walking along y = 200 at every 70-ms tick.
constexpr int WIDTH = 114, HEIGHT = 119, MARGIN = 7, SHAPES = 5, WALK_TOP = 200;
constexpr UINT TICK_MS = 70;
constexpr int LOOK_TICKS = 20;
constexpr COLORREF KEY = RGB(255, 0, 255), FIGURE = RGB(128, 128, 0);
constexpr COLORREF GREEN = RGB(0, 128, 0), NAVY = RGB(0, 0, 128);
constexpr POINT HOLD_AT{300, 300};
constexpr RECT BENEATH_RECT{250, 250, 350, 450};
// Read on the screen while the figure is held: on it, beside it over the green
// window, beside it over the desktop, and the desktop far from both.
constexpr POINT ON_FIGURE{357, 359};
constexpr POINT BESIDE_OVER_WINDOW{302, 302};
constexpr POINT BESIDE_OVER_DESKTOP{410, 302};
constexpr POINT DESKTOP_FAR{700, 600};

enum Mode {
  ULW, ULW_DDB, ULW_COPIED, ULW_COPIED_OPAQUE, ULW_INPLACE, ULW_MOVE,
  MOVE, MOVE_NOCOPYBITS, MOVE_NOFLUSH, WALK, WALK_REGION, PAINT_INPLACE, MOVE_ONLY, IDLE
};
const struct { const char* name; Mode mode; } MODES[] = {
    {"ulw", ULW}, {"ulw-ddb", ULW_DDB}, {"ulw-copied", ULW_COPIED},
    {"ulw-copied-opaque", ULW_COPIED_OPAQUE}, {"ulw-inplace", ULW_INPLACE},
    {"ulw-move", ULW_MOVE}, {"move", MOVE}, {"move-nocopybits", MOVE_NOCOPYBITS},
    {"move-noflush", MOVE_NOFLUSH}, {"walk", WALK}, {"walk-region", WALK_REGION},
    {"paint-inplace", PAINT_INPLACE}, {"move-only", MOVE_ONLY}, {"idle", IDLE}};

// What the screen showed where the window stood and stands.
enum Seen { NEW_HERE, OLD_THERE, OLD_HERE, NEW_THERE, BLANK, OTHER, SEEN_KINDS };
const char* const SEEN_NAMES[SEEN_KINDS] = {"new-picture-new-place", "old-picture-old-place",
                                            "old-picture-new-place", "new-picture-old-place",
                                            "blank", "other"};

Mode mode = IDLE;
const char* modeName = "idle";
HWND probeWindow = nullptr;
HWND beneathWindow = nullptr;
HDC pictures[SHAPES] = {};
HRGN shapeRegions[SHAPES] = {};
int shown = 0;  // the shape on show
int x = 100, dx = MARGIN;
int lastShape = 0, lastLeft = 100;  // what the step before showed, and where
int countedTicks = 0, tickNumber = 0;
bool looking = false;
int paints = 0, paintMessages = 0, refusals = 0;
DWORD firstRefusal = 0;
COLORREF beneathColour = GREEN;
std::vector<int> paintsByTick, paintMessagesByTick;
struct Looks {
  int seen[SEEN_KINDS];
  int fewestWrongOfOther;  // pixels off the nearest of the four
  Seen nearestOfOther;
};
Looks atNextTick{{}, 1 << 30, OTHER}, betweenMoveAndPaint{{}, 1 << 30, OTHER};

bool byUpdate(Mode way) {
  return way == ULW || way == ULW_DDB || way == ULW_COPIED || way == ULW_COPIED_OPAQUE ||
         way == ULW_INPLACE || way == ULW_MOVE;
}
bool moves(Mode way) { return way != ULW_INPLACE && way != PAINT_INPLACE && way != IDLE; }
bool changesPicture(Mode way) { return way != ULW_MOVE && way != MOVE_ONLY && way != IDLE; }

// The way that both moves and paints, for the window's first picture and the hold.
Mode wholeWay(Mode way) {
  if (way == ULW_INPLACE || way == ULW_MOVE) return ULW;
  if (way == PAINT_INPLACE || way == MOVE_ONLY || way == IDLE) return MOVE;
  return way;
}

bool inFigure(int shape, int col, int row) {
  if (col < MARGIN || col >= WIDTH - MARGIN || row < MARGIN || row >= HEIGHT - MARGIN) return false;
  const double cx = (col - WIDTH / 2.0) / 45.0, cy = (row - HEIGHT / 2.0) / 48.0;
  const double r = cx * cx + cy * cy;
  bool in = r < 0.8 + 0.15 * ((col * 7 + row * 3 + shape * 11) % 5) / 5.0;
  if (row > HEIGHT - 30 && (col / 9 + shape) % 3 == 0) in = true;  // legs
  if ((col + row + shape) % 13 == 0 && r < 0.5) in = false;          // gaps inside
  return in;
}

// 0xAARRGGBB with the fourth byte 255 for every pixel.
uint32_t opaque(COLORREF colour) {
  return 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// A memory DC holding a top-down 32-bit DIB section, whose pixels come back in `pixels`.
HDC makeSection(HDC screen, int width, int height, uint32_t** pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  *pixels = static_cast<uint32_t*>(bits);
  HDC dc = CreateCompatibleDC(screen);
  SelectObject(dc, section);
  return dc;
}

// The figure in a bitmap of the display's own format, its ground laid in the
// key colour by a DC brush, as the pet composes its picture. GDI's colours leave
// the fourth byte 0.
HDC drawForDisplay(HDC screen, int shape) {
  HDC dc = CreateCompatibleDC(screen);
  SelectObject(dc, CreateCompatibleBitmap(screen, WIDTH, HEIGHT));
  SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc, KEY);
  PatBlt(dc, 0, 0, WIDTH, HEIGHT, PATCOPY);
  for (int row = 0; row < HEIGHT; ++row) {
    for (int col = 0; col < WIDTH; ++col) {
      if (inFigure(shape, col, row)) SetPixelV(dc, col, row, FIGURE);
    }
  }
  return dc;
}

// What the copy from the display's bitmap left in the 32-bit section: the bytes
// of a key pixel and of a figure pixel, and how many key pixels came out exactly.
void printCopiedBytes(HDC composed, const uint32_t* pixels, int shape) {
  GdiFlush();
  HBITMAP displayBitmap = static_cast<HBITMAP>(GetCurrentObject(composed, OBJ_BITMAP));
  BITMAP format{};
  GetObjectW(displayBitmap, sizeof format, &format);
  uint8_t keyThere[4] = {};
  GetBitmapBits(displayBitmap, 4, keyThere);
  char keyBytes[16] = "";
  const int byteCount = std::min(4, std::max(1, format.bmBitsPixel / 8));
  for (int i = 0; i < byteCount; ++i) std::snprintf(keyBytes + 3 * i, 4, "%02x ", keyThere[i]);
  keyBytes[3 * byteCount - 1] = 0;
  const uint32_t key = pixels[0], figure = pixels[(HEIGHT / 2) * WIDTH + WIDTH / 2];
  int keyPixels = 0, exact = 0;
  for (int row = 0; row < HEIGHT; ++row) {
    for (int col = 0; col < WIDTH; ++col) {
      if (inFigure(shape, col, row)) continue;
      ++keyPixels;
      if ((pixels[row * WIDTH + col] & 0xFFFFFF) == (opaque(KEY) & 0xFFFFFF)) ++exact;
    }
  }
  std::printf("copied from a %d-bit display bitmap (key there as bytes %s) into the 32-bit "
              "section: key pixel RGB %u,%u,%u fourth byte %u; figure pixel RGB %u,%u,%u fourth byte %u; "
              "key pixels exactly RGB(255,0,255): %d of %d\n",
              format.bmBitsPixel, keyBytes, (key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF,
              key >> 24, (figure >> 16) & 0xFF, (figure >> 8) & 0xFF, figure & 0xFF, figure >> 24,
              exact, keyPixels);
  std::fflush(stdout);
}

HDC makePicture(HDC screen, int shape) {
  if (mode == ULW_DDB) return drawForDisplay(screen, shape);
  uint32_t* pixels = nullptr;
  HDC dc = makeSection(screen, WIDTH, HEIGHT, &pixels);
  if (mode == ULW_COPIED || mode == ULW_COPIED_OPAQUE) {
    HDC composed = drawForDisplay(screen, shape);
    BitBlt(dc, 0, 0, WIDTH, HEIGHT, composed, 0, 0, SRCCOPY);
    if (shape == 0) printCopiedBytes(composed, pixels, shape);
    if (mode == ULW_COPIED_OPAQUE) {
      for (int i = 0; i < WIDTH * HEIGHT; ++i) pixels[i] |= 0xFF000000u;
    }
    return dc;
  }
  for (int row = 0; row < HEIGHT; ++row) {
    for (int col = 0; col < WIDTH; ++col) {
      pixels[row * WIDTH + col] = opaque(inFigure(shape, col, row) ? FIGURE : KEY);
    }
  }
  return dc;
}

// The figure's rows as runs of one-pixel-high rectangles.
HRGN makeShapeRegion(int shape) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (int row = 0; row < HEIGHT; ++row) {
    for (int col = 0; col < WIDTH;) {
      if (!inFigure(shape, col, row)) { ++col; continue; }
      const int start = col;
      while (col < WIDTH && inFigure(shape, col, row)) ++col;
      HRGN run = CreateRectRgn(start, row, col, row + 1);
      CombineRgn(region, region, run, RGN_OR);
      DeleteObject(run);
    }
  }
  return region;
}

// The system frees a region it is given: the window gets a copy.
void giveShape(int shape) {
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(copy, shapeRegions[shape], nullptr, RGN_COPY);
  SetWindowRgn(probeWindow, copy, FALSE);
}

// What the screen shows in a rectangle, read as another program would through
// GDI (at 8 bits an X screenshot has the wrong colours).
std::vector<COLORREF> readScreen(int left, int top, int width, int height) {
  HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  uint32_t* pixels = nullptr;
  HDC memory = makeSection(display, width, height, &pixels);
  BitBlt(memory, 0, 0, width, height, display, left, top, SRCCOPY);
  GdiFlush();
  std::vector<COLORREF> seen(width * height);
  for (int i = 0; i < width * height; ++i) {
    seen[i] = RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF);
  }
  HGDIOBJ section = GetCurrentObject(memory, OBJ_BITMAP);
  DeleteDC(memory);
  DeleteObject(section);
  DeleteDC(display);
  return seen;
}

const char* nearestColour(COLORREF seen, COLORREF desktop) {
  struct Named { const char* name; COLORREF colour; };
  const Named known[] = {{"figure", FIGURE}, {"green-window", GREEN}, {"navy-window", NAVY}, {"key", KEY},
                         {"desktop", desktop}, {"black", RGB(0, 0, 0)}};
  const char* best = "?";
  int bestDistance = 1 << 30;
  for (const Named& candidate : known) {
    const int dr = GetRValue(seen) - GetRValue(candidate.colour);
    const int dg = GetGValue(seen) - GetGValue(candidate.colour);
    const int db = GetBValue(seen) - GetBValue(candidate.colour);
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) best = candidate.name, bestDistance = distance;
  }
  return best;
}

// Which of the pictures, the new and the one before, at which of the places,
// the new and the one before, the screen shows along the walking row: each
// pixel of the stretch that holds both places must be the figure exactly where
// that picture at that place has it.
void look(Looks& looks, int newShape, int newLeft, int oldShape, int oldLeft) {
  const int left = std::min(newLeft, oldLeft);
  const int width = std::max(newLeft, oldLeft) + WIDTH - left;
  const COLORREF desktop = readScreen(DESKTOP_FAR.x, DESKTOP_FAR.y, 1, 1)[0];
  const std::vector<COLORREF> seen = readScreen(left, WALK_TOP, width, HEIGHT);
  std::vector<bool> figure(seen.size());
  bool anyFigure = false;
  for (size_t i = 0; i < seen.size(); ++i) {
    figure[i] = !std::strcmp(nearestColour(seen[i], desktop), "figure");
    anyFigure = anyFigure || figure[i];
  }
  if (!anyFigure) {
    ++looks.seen[BLANK];
    return;
  }
  const struct { Seen name; int shape, at; } candidates[] = {
      {NEW_HERE, newShape, newLeft}, {OLD_THERE, oldShape, oldLeft},
      {OLD_HERE, oldShape, newLeft}, {NEW_THERE, newShape, oldLeft}};
  int fewestWrong = 1 << 30;
  Seen nearest = OTHER;
  for (const auto& candidate : candidates) {
    int wrong = 0;
    for (int row = 0; row < HEIGHT; ++row) {
      for (int col = 0; col < width; ++col) {
        const int inWindow = left + col - candidate.at;
        const bool expected =
            inWindow >= 0 && inWindow < WIDTH && inFigure(candidate.shape, inWindow, row);
        if (figure[row * width + col] != expected) ++wrong;
      }
    }
    if (!wrong) {
      ++looks.seen[candidate.name];
      return;
    }
    if (wrong < fewestWrong) fewestWrong = wrong, nearest = candidate.name;
  }
  ++looks.seen[OTHER];
  if (fewestWrong < looks.fewestWrongOfOther) {
    looks.fewestWrongOfOther = fewestWrong;
    looks.nearestOfOther = nearest;
  }
}

void paintInto(HDC target) {
  BitBlt(target, 0, 0, WIDTH, HEIGHT, pictures[shown], 0, 0, SRCCOPY);
  ++paints;
}

void paintWindow() {
  HDC windowDC = GetDC(probeWindow);
  paintInto(windowDC);
  ReleaseDC(probeWindow, windowDC);
}

// Wine holds a move and a paint back until the thread looks for messages.
void flushToScreen() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

void moveTo(int left, int top, UINT flags) {
  SetWindowPos(probeWindow, nullptr, left, top, 0, 0,
               flags | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// No place keeps the window where it is; no picture keeps the one it has.
void updateLayered(POINT* place, HDC picture) {
  POINT origin{0, 0};
  SIZE size{WIDTH, HEIGHT};
  if (!UpdateLayeredWindow(probeWindow, nullptr, place, &size, picture, &origin, KEY, nullptr,
                           ULW_COLORKEY)) {
    if (!refusals++) firstRefusal = GetLastError();
  }
  if (picture) ++paints;  // the one call is the window's paint too
}

void lookBetweenMoveAndPaint() {
  if (looking) look(betweenMoveAndPaint, shown, x, lastShape, lastLeft);
}

void step(Mode way, int left, int top) {
  POINT place{left, top};
  switch (way) {
    case ULW: case ULW_DDB: case ULW_COPIED: case ULW_COPIED_OPAQUE:
      updateLayered(&place, pictures[shown]);
      return;
    case ULW_INPLACE: updateLayered(nullptr, pictures[shown]); return;
    case ULW_MOVE: updateLayered(&place, nullptr); return;
    case MOVE_ONLY: moveTo(left, top, 0); return;
    case PAINT_INPLACE:
      paintWindow();
      ValidateRect(probeWindow, nullptr);
      return;
    case WALK: case WALK_REGION:
      if (way == WALK_REGION) giveShape(shown);
      moveTo(left, top, SWP_NOCOPYBITS);
      lookBetweenMoveAndPaint();
      paintWindow();
      ValidateRect(probeWindow, nullptr);
      return;
    case MOVE: case MOVE_NOCOPYBITS: case MOVE_NOFLUSH: case IDLE:
      moveTo(left, top, way == MOVE_NOCOPYBITS ? SWP_NOCOPYBITS : 0);
      lookBetweenMoveAndPaint();
      paintWindow();
      if (way != MOVE_NOFLUSH) flushToScreen();
      return;
  }
}

void markTick(const char* label) {
  char text[64];
  std::snprintf(text, sizeof text, "morvet-tick %s", label);
  wchar_t wideText[64];
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wideText, 64);
  GlobalFindAtomW(wideText);  // the tick's mark in the server's trace
}

// Ticks: 1 warm, then the counted ones, then the end, then the looks.
void onTick() {
  ++tickNumber;
  const int endTick = countedTicks + 2;
  if (tickNumber >= 3 && tickNumber <= endTick) {  // the counted tick before, mark to mark
    paintsByTick.push_back(paints);
    paintMessagesByTick.push_back(paintMessages);
  }
  looking = tickNumber > endTick;
  markTick(tickNumber == 1 ? "warm" : tickNumber == endTick ? "end" : looking ? "look" : modeName);
  paints = paintMessages = 0;
  if (mode == IDLE) return;
  // What the step before left on the screen once the loop let it through.
  if (looking) look(atNextTick, shown, x, lastShape, lastLeft);
  lastShape = shown;
  lastLeft = x;
  if (moves(mode)) {
    x += dx;
    if (x > 800 || x < 100) dx = -dx;
  }
  if (changesPicture(mode)) shown = tickNumber % SHAPES;
  step(mode, x, WALK_TOP);
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: onTick(); return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (window == probeWindow) {
        ++paintMessages;
        if (!byUpdate(mode)) paintInto(dc);
      }
      if (window == beneathWindow) {
        SetDCBrushColor(dc, beneathColour);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(window, &at);
      std::printf("press %s %ld %ld\n", window == probeWindow ? "probe" : "beneath", at.x, at.y);
      std::fflush(stdout);
      return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

void pumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

void printSpread(const char* what, std::vector<int> values) {
  if (values.empty()) return;
  std::sort(values.begin(), values.end());
  std::printf("%s median %d (%d-%d)", what, values[values.size() / 2], values.front(),
              values.back());
}

void printLooks(const char* when, const Looks& looks) {
  std::printf("look %s:", when);
  for (int kind = 0; kind < SEEN_KINDS; ++kind) {
    if (looks.seen[kind]) std::printf(" %s %d", SEEN_NAMES[kind], looks.seen[kind]);
  }
  if (looks.seen[OTHER]) {
    std::printf(" (the nearest other: %s with %d pixels off)", SEEN_NAMES[looks.nearestOfOther],
                looks.fewestWrongOfOther);
  }
  std::printf("\n");
}

void printPixels(const char* when) {
  const POINT points[] = {ON_FIGURE, BESIDE_OVER_WINDOW, BESIDE_OVER_DESKTOP, DESKTOP_FAR};
  const char* names[] = {"on-figure", "beside-over-window", "beside-over-desktop", "desktop"};
  COLORREF seen[4];
  for (int i = 0; i < 4; ++i) seen[i] = readScreen(points[i].x, points[i].y, 1, 1)[0];
  for (int i = 0; i < 4; ++i) {
    std::printf("pixel %s%s %d,%d,%d %s\n", names[i], when, GetRValue(seen[i]), GetGValue(seen[i]),
                GetBValue(seen[i]), nearestColour(seen[i], seen[3]));
  }
  std::fflush(stdout);
}

void hold(DWORD milliseconds) {
  shown = 0;
  step(wholeWay(mode), HOLD_AT.x, HOLD_AT.y);
  RECT placed{};
  GetWindowRect(probeWindow, &placed);
  std::printf("held window at %ld,%ld %ldx%ld\n", placed.left, placed.top,
              placed.right - placed.left, placed.bottom - placed.top);
  std::fflush(stdout);
  pumpFor(1500);
  printPixels("");
  // The desktop beside the figure is seen live, not as it was when painted.
  beneathColour = NAVY;
  InvalidateRect(beneathWindow, nullptr, FALSE);
  pumpFor(500);
  printPixels(" after-the-window-beneath-turned-navy");
  pumpFor(milliseconds > 2000 ? milliseconds - 2000 : 0);
}

bool readMode(const char* name) {
  for (const auto& known : MODES) {
    if (!std::strcmp(name, known.name)) {
      mode = known.mode;
      modeName = known.name;
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || !readMode(argv[1])) {
    std::fprintf(stderr, "usage: layered-probe MODE TICKS [HOLD_MS]; MODE is one of");
    for (const auto& known : MODES) std::fprintf(stderr, " %s", known.name);
    std::fprintf(stderr, "\n");
    return 2;
  }
  countedTicks = std::atoi(argv[2]);
  const DWORD holdMs = argc > 3 ? std::atoi(argv[3]) : 0;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = probeProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"MorvetLayeredProbe";
  RegisterClassW(&windowClass);

  // The plain window first: without a window manager, a window shown later
  // lies above it.
  beneathWindow = CreateWindowExW(WS_EX_TOOLWINDOW, L"MorvetLayeredProbe", L"beneath", WS_POPUP,
                                  BENEATH_RECT.left, BENEATH_RECT.top,
                                  BENEATH_RECT.right - BENEATH_RECT.left,
                                  BENEATH_RECT.bottom - BENEATH_RECT.top, nullptr, nullptr,
                                  instance, nullptr);
  ShowWindow(beneathWindow, SW_SHOWNOACTIVATE);
  UpdateWindow(beneathWindow);
  const DWORD layered = mode == WALK_REGION ? 0 : WS_EX_LAYERED;
  probeWindow = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | layered, L"MorvetLayeredProbe",
                                L"layered probe", WS_POPUP, x, WALK_TOP, WIDTH, HEIGHT, nullptr,
                                nullptr, instance, nullptr);
  HDC screen = GetDC(nullptr);
  for (int shape = 0; shape < SHAPES; ++shape) {
    pictures[shape] = makePicture(screen, shape);
    if (mode == WALK_REGION) shapeRegions[shape] = makeShapeRegion(shape);
  }
  if (layered && !byUpdate(mode)) SetLayeredWindowAttributes(probeWindow, KEY, 0, LWA_COLORKEY);
  step(wholeWay(mode), x, WALK_TOP);
  ShowWindow(probeWindow, SW_SHOWNOACTIVATE);
  pumpFor(500);

  const int totalTicks = countedTicks + 2 + (mode == IDLE ? 0 : LOOK_TICKS);
  SetTimer(probeWindow, 1, TICK_MS, nullptr);
  MSG message;
  while (tickNumber < totalTicks && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  KillTimer(probeWindow, 1);
  std::printf("%s ticks %d: ", modeName, countedTicks);
  printSpread("paints a tick", paintsByTick);
  printSpread(", paint messages a tick", paintMessagesByTick);
  if (refusals) std::printf(", UpdateLayeredWindow refused %d times (error %lu)", refusals, firstRefusal);
  std::printf("\n");
  if (mode != IDLE) {
    printLooks("at the next tick", atNextTick);
    if (mode == MOVE || mode == MOVE_NOCOPYBITS || mode == MOVE_NOFLUSH || mode == WALK ||
        mode == WALK_REGION) {
      printLooks("between the move and the paint", betweenMoveAndPaint);
    }
  }
  std::fflush(stdout);
  if (holdMs > 0 && mode != IDLE) hold(holdMs);
  return 0;
}
