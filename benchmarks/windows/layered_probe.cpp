// layered-probe MODE TICKS [HOLD_MS]: what a walking step of a 114 x 119
// layered window costs and what it shows under Wine. At each of TICKS ticks of
// a 70-ms timer the window steps 7 px with a figure of one colour on the key
// colour, one of five shapes in turn, done as MODE says:
//   ulw              UpdateLayeredWindow with the colour key, from a 32-bit DIB
//                    section whose every pixel has its fourth byte 255: the move
//                    and the paint in one call
//   ulw-ddb          the same from a bitmap made for the display
//                    (CreateCompatibleBitmap) and drawn with GDI, whose fourth byte is 0
//   move             keyed once (SetLayeredWindowAttributes); SetWindowPos that
//                    keeps the window's bits, one paint, a wait that lets both through
//   move-nocopybits  the same moved with SWP_NOCOPYBITS, as the pet moves: the
//                    system throws the bits away and asks for a second paint
//   move-noflush     as `move`, without the wait: the loop's next look lets them through
//   idle             the timer alone: what the message loop costs a tick
// Every tick starts with a request that names it in the Wine server's trace
// (GlobalFindAtomW of "morvet-tick MODE"), so that layered_probe.sh can count
// the requests of each tick. The first and the last tick are named "warm" and
// "end". After the ticks it prints the paints of a tick, then, with HOLD_MS,
// holds the figure still with its window at (300, 300) over a plain window
// (at 250, 250, 100 x 200, green) and the desktop, prints three pixels of the
// screen read through GDI (one on the figure, one beside it over the green
// window, one beside it over the desktop, each named by the nearest colour),
// turns the plain window navy and reads them again, and prints every left
// press either window gets until HOLD_MS is over.
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

constexpr int WIDTH = 114;
constexpr int HEIGHT = 119;
constexpr int MARGIN = 7;
constexpr int SHAPES = 5;
constexpr UINT TICK_MS = 70;
constexpr COLORREF KEY = RGB(255, 0, 255);
constexpr COLORREF FIGURE = RGB(128, 128, 0);
constexpr COLORREF GREEN = RGB(0, 128, 0);
constexpr COLORREF NAVY = RGB(0, 0, 128);
constexpr POINT HOLD_AT{300, 300};
constexpr RECT BENEATH_RECT{250, 250, 350, 450};
// Read on the screen while the figure is held: on it, beside it over the green
// window, beside it over the desktop, and the desktop far from both.
constexpr POINT ON_FIGURE{357, 359};
constexpr POINT BESIDE_OVER_WINDOW{302, 302};
constexpr POINT BESIDE_OVER_DESKTOP{410, 302};
constexpr POINT DESKTOP_FAR{700, 600};

enum Mode { ULW, ULW_DDB, MOVE, MOVE_NOCOPYBITS, MOVE_NOFLUSH, IDLE };

Mode mode = IDLE;
const char* modeName = "idle";
HWND probeWindow = nullptr;
HWND beneathWindow = nullptr;
HDC pictures[SHAPES] = {};
int shown = 0;  // the shape on show
int x = 100, dx = MARGIN;
int ticksLeft = 0, tickNumber = 0;
int paints = 0, paintMessages = 0, refusals = 0;
DWORD firstRefusal = 0;
COLORREF beneathColour = GREEN;
std::vector<int> paintsByTick, paintMessagesByTick;

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

HDC makePicture(HDC screen, int shape, bool forDisplay) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = WIDTH;
  info.bmiHeader.biHeight = -HEIGHT;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int row = 0; row < HEIGHT; ++row) {
    for (int col = 0; col < WIDTH; ++col) {
      pixels[row * WIDTH + col] = opaque(inFigure(shape, col, row) ? FIGURE : KEY);
    }
  }
  HDC dc = CreateCompatibleDC(screen);
  SelectObject(dc, section);
  if (!forDisplay) return dc;
  // Drawn with GDI's colours, which leave the fourth byte 0 (a copy from the
  // section would carry its 255 along).
  HDC displayDC = CreateCompatibleDC(screen);
  SelectObject(displayDC, CreateCompatibleBitmap(screen, WIDTH, HEIGHT));
  for (int row = 0; row < HEIGHT; ++row) {
    for (int col = 0; col < WIDTH; ++col) {
      SetPixelV(displayDC, col, row, inFigure(shape, col, row) ? FIGURE : KEY);
    }
  }
  return displayDC;
}

void paintInto(HDC target) {
  BitBlt(target, 0, 0, WIDTH, HEIGHT, pictures[shown], 0, 0, SRCCOPY);
  ++paints;
}

// Wine holds a move and a paint back until the thread looks for messages.
void flushToScreen() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

void showAt(int left, int top) {
  if (mode == ULW || mode == ULW_DDB) {
    POINT place{left, top}, origin{0, 0};
    SIZE size{WIDTH, HEIGHT};
    if (!UpdateLayeredWindow(probeWindow, nullptr, &place, &size, pictures[shown], &origin, KEY,
                             nullptr, ULW_COLORKEY)) {
      if (!refusals++) firstRefusal = GetLastError();
    }
    ++paints;  // the one call is the window's paint too
    return;
  }
  UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (mode == MOVE_NOCOPYBITS) flags |= SWP_NOCOPYBITS;
  SetWindowPos(probeWindow, nullptr, left, top, 0, 0, flags);
  HDC windowDC = GetDC(probeWindow);
  paintInto(windowDC);
  ReleaseDC(probeWindow, windowDC);
  if (mode != MOVE_NOFLUSH) flushToScreen();
}

void onTick() {
  const bool last = --ticksLeft == 0;
  char label[64];
  std::snprintf(label, sizeof label, "morvet-tick %s", tickNumber == 0 ? "warm" : last ? "end" : modeName);
  wchar_t wideLabel[64];
  MultiByteToWideChar(CP_UTF8, 0, label, -1, wideLabel, 64);
  GlobalFindAtomW(wideLabel);  // the tick's mark in the server's trace
  if (tickNumber > 1) {        // the tick before, from its mark to this one
    paintsByTick.push_back(paints);
    paintMessagesByTick.push_back(paintMessages);
  }
  paints = paintMessages = 0;
  ++tickNumber;
  if (mode == IDLE) return;
  x += dx;
  if (x > 800 || x < 100) dx = -dx;
  shown = tickNumber % SHAPES;
  showAt(x, 200);
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: onTick(); return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (window == probeWindow && mode != ULW && mode != ULW_DDB) {
        paintInto(dc);
        ++paintMessages;
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

int median(std::vector<int> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
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

// What the screen shows, read as another program would through GDI (at 8 bits
// an X screenshot has the wrong colours).
void printPixels(const char* when) {
  HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  HDC memory = CreateCompatibleDC(display);
  const POINT points[] = {ON_FIGURE, BESIDE_OVER_WINDOW, BESIDE_OVER_DESKTOP, DESKTOP_FAR};
  const char* names[] = {"on-figure", "beside-over-window", "beside-over-desktop", "desktop"};
  COLORREF seen[4];
  for (int i = 0; i < 4; ++i) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP one = CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, one);
    BitBlt(memory, 0, 0, 1, 1, display, points[i].x, points[i].y, SRCCOPY);
    const auto* bgr = static_cast<const uint8_t*>(bits);
    seen[i] = RGB(bgr[2], bgr[1], bgr[0]);
    SelectObject(memory, old);
    DeleteObject(one);
  }
  for (int i = 0; i < 4; ++i) {
    std::printf("pixel %s%s %d,%d,%d %s\n", names[i], when, GetRValue(seen[i]), GetGValue(seen[i]),
                GetBValue(seen[i]), nearestColour(seen[i], seen[3]));
  }
  std::fflush(stdout);
  DeleteDC(memory);
  DeleteDC(display);
}

void hold(DWORD milliseconds) {
  shown = 0;
  showAt(HOLD_AT.x, HOLD_AT.y);
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
  const struct { const char* name; Mode mode; } modes[] = {
      {"ulw", ULW}, {"ulw-ddb", ULW_DDB}, {"move", MOVE}, {"move-nocopybits", MOVE_NOCOPYBITS},
      {"move-noflush", MOVE_NOFLUSH}, {"idle", IDLE}};
  for (const auto& known : modes) {
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
    std::fprintf(stderr, "usage: layered-probe ulw|ulw-ddb|move|move-nocopybits|move-noflush|idle TICKS [HOLD_MS]\n");
    return 2;
  }
  const int ticks = std::atoi(argv[2]);
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
  probeWindow = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED,
                                L"MorvetLayeredProbe", L"layered probe", WS_POPUP, x, 200, WIDTH,
                                HEIGHT, nullptr, nullptr, instance, nullptr);
  HDC screen = GetDC(nullptr);
  for (int shape = 0; shape < SHAPES; ++shape) {
    pictures[shape] = makePicture(screen, shape, mode == ULW_DDB);
  }
  if (mode != ULW && mode != ULW_DDB) SetLayeredWindowAttributes(probeWindow, KEY, 0, LWA_COLORKEY);
  showAt(x, 200);
  ShowWindow(probeWindow, SW_SHOWNOACTIVATE);
  pumpFor(500);

  ticksLeft = ticks + 2;  // with the warm and the end ticks
  SetTimer(probeWindow, 1, TICK_MS, nullptr);
  MSG message;
  while (ticksLeft > 0 && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  KillTimer(probeWindow, 1);
  std::printf("%s ticks %d: paints a tick median %d, of them paint messages median %d",
              modeName, ticks, median(paintsByTick), median(paintMessagesByTick));
  if (refusals) std::printf(", UpdateLayeredWindow refused %d times (error %lu)", refusals, firstRefusal);
  std::printf("\n");
  std::fflush(stdout);
  if (holdMs > 0 && mode != IDLE) hold(holdMs);
  return 0;
}
