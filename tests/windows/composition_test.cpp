#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pet/desktop_pet.h"
#include "pet/random.h"
#include "test_support.h"

namespace {

constexpr int SCREEN_W = 1024;
constexpr int SCREEN_H = 768;

int patternShift = 0;  // another desktop picture, as after a change of wallpaper or resolution

COLORREF patternAt(int x, int y) {
  x += patternShift;
  return RGB((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255);
}

LRESULT CALLBACK backdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    std::vector<DWORD> pixels(SCREEN_W * SCREEN_H);
    for (int y = 0; y < SCREEN_H; ++y) {
      for (int x = 0; x < SCREEN_W; ++x) {
        const COLORREF c = patternAt(x, y);
        pixels[y * SCREEN_W + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = SCREEN_W;
    info.bmiHeader.biHeight = -SCREEN_H;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, SCREEN_W, SCREEN_H, 0, 0, 0, SCREEN_H, pixels.data(), &info,
                      DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The pet under test answers its window's paint and scale messages as the
// program's window procedure does.
DesktopPet* paintingPet = nullptr;
LRESULT CALLBACK petUnderTestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && paintingPet) {
    paintingPet->answerPaint(window);
    return 0;
  }
  if (message == WM_DPICHANGED && paintingPet) {
    paintingPet->followScale();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Monitors of their own DPI each, as a laptop's scaled screen beside a monitor
// that is not: Wine gives every monitor the same.
struct ScaledMonitor {
  PixelRect monitor;
  int dpi;
};
std::vector<ScaledMonitor> scaledMonitors;

int dpiOfMonitorUnder(const PixelRect& rect) {
  int dpi = scaledMonitors.front().dpi;
  int64_t most = 0;
  for (const ScaledMonitor& candidate : scaledMonitors) {
    const PixelRect held = visiblePart(rect, candidate.monitor);
    if (int64_t(held.width) * held.height > most) {
      most = int64_t(held.width) * held.height;
      dpi = candidate.dpi;
    }
  }
  return dpi;
}

PixelRect rectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The pet's window move, with WM_DPICHANGED sent from inside it when it takes
// most of the window onto a monitor of another DPI, as Windows does.
int dpiMessages = 0;
int factorWhileMoving = 0;  // the pet's scale right after the message, inside the move
BOOL WINAPI movingAcrossMonitors(HWND window, HWND after, int x, int y, int width, int height,
                                 UINT flags) {
  const int before = dpiOfMonitorUnder(rectOf(window));
  const BOOL moved = SetWindowPos(window, after, x, y, width, height, flags);
  const int now = dpiOfMonitorUnder(rectOf(window));
  if (now != before && IsWindowVisible(window)) {
    ++dpiMessages;
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(now, now), reinterpret_cast<LPARAM>(&suggested));
    factorWhileMoving = paintingPet ? paintingPet->drawing.factor : 0;
  }
  return moved;
}

// Every GDI object and display context the pet makes is counted and kept by
// its handle; the n-th of them can be refused, as a system out of GDI objects
// refuses it.
std::vector<HGDIOBJ> madeObjects;
int objectsMade = 0;
int bitmapsMade = 0;
int refusedObject = 0;  // 0: none
HGDIOBJ countingMade(HGDIOBJ made) {
  if (!made) return made;
  const DWORD kind = GetObjectType(made);
  if (kind == OBJ_BITMAP) ++bitmapsMade;
  if (++objectsMade == refusedObject) {
    if (kind == OBJ_DC || kind == OBJ_MEMDC) {
      DeleteDC(static_cast<HDC>(made));
    } else {
      DeleteObject(made);
    }
    return nullptr;
  }
  madeObjects.push_back(made);
  return made;
}
void startCountingObjects(int refuse = 0) {
  madeObjects.clear();
  objectsMade = 0;
  bitmapsMade = 0;
  refusedObject = refuse;
  petSystem.madeObject = countingMade;
}
// The n-th object made from now on is refused.
void refuseObjectAfter(int n) { refusedObject = objectsMade + n; }

// The objects counted that have not been freed.
std::vector<HGDIOBJ> objectsAlive() {
  std::vector<HGDIOBJ> alive;
  for (HGDIOBJ object : madeObjects) {
    if (GetObjectType(object)) alive.push_back(object);
  }
  return alive;
}

void pumpMessages(int rounds = 20) {
  for (int round = 0; round < rounds; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

// Raw display-format bytes of a rectangle of a DC.
struct Capture {
  int width = 0;
  int height = 0;
  int bytesPerPixel = 0;
  std::vector<BYTE> bytes;
  const BYTE* pixel(int x, int y) const { return &bytes[(y * width + x) * bytesPerPixel]; }
};

Capture capture(HDC source, int x, int y, int width, int height, int bytesPerPixel) {
  HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ kept = SelectObject(memory, bitmap);
  // Wine fails a screen read that reaches past the edge: read the on-screen part.
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + width, SCREEN_W);
  const int bottom = std::min(y + height, SCREEN_H);
  if (left < right && top < bottom) {
    BitBlt(memory, left - x, top - y, right - left, bottom - top, source ? source : screen, left,
           top, SRCCOPY);
  }
  SelectObject(memory, kept);
  Capture result;
  result.width = width;
  result.height = height;
  result.bytesPerPixel = bytesPerPixel;
  result.bytes.resize(size_t(width) * height * bytesPerPixel);
  GetBitmapBits(bitmap, result.bytes.size(), result.bytes.data());
  DeleteObject(bitmap);
  DeleteDC(memory);
  DeleteDC(screen);
  return result;
}

// On a palette display two indices may hold the same colour, and reading the
// screen back gives either: compare the colours there.
PALETTEENTRY systemColours[256];

bool samePixel(const BYTE* a, const BYTE* b, int bytesPerPixel) {
  if (bytesPerPixel == 1) {
    const PALETTEENTRY& first = systemColours[*a];
    const PALETTEENTRY& second = systemColours[*b];
    return first.peRed == second.peRed && first.peGreen == second.peGreen &&
           first.peBlue == second.peBlue;
  }
  for (int i = 0; i < (bytesPerPixel == 4 ? 3 : bytesPerPixel); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

std::string describe(const BYTE* pixel) {
  char text[64];
  const PALETTEENTRY& colour = systemColours[pixel[0]];
  std::snprintf(text, sizeof text, "bytes %d,%d,%d (index colour %d,%d,%d)", pixel[0], pixel[1],
                pixel[2], colour.peRed, colour.peGreen, colour.peBlue);
  return text;
}

std::vector<const FrameNode*> everyFrame(const DesktopPet& pet) {
  std::vector<const FrameNode*> frames;
  for (const AnimationList& head : pet.drawing.animations) {
    for (const FrameNode* frame = head.next; frame; frame = frame->next) frames.push_back(frame);
  }
  return frames;
}

class CompositionDepth : public ::testing::Test {
 protected:
  void SetUp() override {
    registerWindowClass(L"MorvetBackdrop", backdropProc);
    backdrop = CreateWindowExW(0, L"MorvetBackdrop", L"backdrop", WS_POPUP | WS_VISIBLE, 0, 0,
                               SCREEN_W, SCREEN_H, nullptr, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    UpdateWindow(backdrop);
    registerWindowClass(L"MorvetPetUnderTest", petUnderTestProc);
    // Layered, as the program makes its window. Shown without being activated,
    // Wine leaves it to itself: it does not wait 2 s for a window manager each
    // time the window is hidden.
    petWindow = CreateWindowExW(WS_EX_LAYERED, L"MorvetPetUnderTest", L"pet", WS_POPUP, 150, 100,
                                0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(petWindow, SW_SHOWNOACTIVATE);
    paintingPet = &pet;
    pumpMessages();
    stateTheDesktop();

    HINSTANCE module = GetModuleHandleW(nullptr);
    pet.buildPalette(module);
    pet.attach(module, petWindow);
    for (const AnimationEntry& entry : animationTable) {
      pet.loadAnimation(entry.name, entry.frameCount, entry.slot, entry.motionKind);
    }
    HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    depthBytes = GetDeviceCaps(screen, BITSPIXEL) / 8;
    GetSystemPaletteEntries(screen, 0, 256, systemColours);
    DeleteDC(screen);
    seedRandom(2024);
    pet.settle();
    pumpMessages();
  }
  void TearDown() override {
    paintingPet = nullptr;
    DestroyWindow(petWindow);
    DestroyWindow(backdrop);
    patternShift = 0;
  }

  // Monitors, scales and stand-ins a test states before the pet starts.
  virtual void stateTheDesktop() {}

  // The window beneath the pet draws another picture.
  void changeTheDesktop(int shift = 37) {
    patternShift = shift;
    InvalidateRect(backdrop, nullptr, FALSE);
    pumpMessages();
  }
  // The desktop as it is now without the pet, read from the screen with the
  // pet's window out of the way for a moment; take it after what is judged.
  Capture desktopNow(int left, int top, int width, int height) {
    const bool shown = IsWindowVisible(petWindow);
    if (shown) ShowWindow(petWindow, SW_HIDE);
    pumpMessages(5);
    Capture now = capture(nullptr, left, top, width, height, depthBytes);
    if (shown) ShowWindow(petWindow, SW_SHOWNOACTIVATE);
    pumpMessages(5);
    return now;
  }

  // Sizes in screen pixels: on a scaled display each pet pixel is s x s of them.
  int scaled(int petPixels) const { return petPixels * pet.drawing.factor; }

  // What a person sees in the window's rectangle: inside the figure exactly the
  // current frame's pixels, plain or mirrored; everywhere else the desktop as
  // it is now.
  void expectPetDrawnOverBackdrop(int facing) {
    pumpMessages();  // Wine shows a window's painting once the thread waits for messages
    const int m = scaled(pet.margin);
    const int left = scaled(pet.x) - m;
    const int top = scaled(pet.y) - m;
    const int spriteW = scaled(100);
    const int spriteH = scaled(105);
    RECT placed{};
    GetWindowRect(petWindow, &placed);
    EXPECT_EQ(placed.left, left);
    EXPECT_EQ(placed.top, top);
    EXPECT_EQ(placed.right - placed.left, scaled(114));
    EXPECT_EQ(placed.bottom - placed.top, scaled(119));

    const Capture shown = capture(nullptr, left, top, scaled(114), scaled(119), depthBytes);
    const Capture clean = desktopNow(left, top, scaled(114), scaled(119));
    std::vector<BYTE> frameBits(spriteW * spriteH * depthBytes);
    GetBitmapBits(pet.currentFrame->bitmap, frameBits.size(), frameBits.data());
    const Capture noRendering;
    const Capture& rendered = depthBytes == 1 ? renderOnScreen(pet.currentFrame->bitmap) : noRendering;
    const BYTE* key = frameBits.data();
    int spritePixels = 0;
    for (int y = 0; y < scaled(119); ++y) {
      for (int x = 0; x < scaled(114); ++x) {
        const int screenX = left + x;
        const int screenY = top + y;
        if (screenX < 0 || screenY < 0 || screenX >= SCREEN_W || screenY >= SCREEN_H) continue;
        const BYTE* expected = clean.pixel(x, y);
        const int spriteX = x - m;
        const int spriteY = y - m;
        if (spriteX >= 0 && spriteX < spriteW && spriteY >= 0 && spriteY < spriteH) {
          const int sourceX = facing == FACING_MIRRORED ? spriteW - 1 - spriteX : spriteX;
          const BYTE* source = &frameBits[(spriteY * spriteW + sourceX) * depthBytes];
          if (std::memcmp(source, key, depthBytes == 4 ? 3 : depthBytes) != 0) {
            expected = source;
            ++spritePixels;
            if (depthBytes == 1) {
              // On a palette display the frame's indices reach the screen through
              // Wine's colour mapping: compare with the frame as the display shows it.
              expected = rendered.pixel(sourceX, spriteY);
            }
          }
        }
        ASSERT_TRUE(samePixel(shown.pixel(x, y), expected, depthBytes))
            << "pixel " << x << "," << y << " of the window: " << describe(shown.pixel(x, y))
            << " shown, " << describe(expected) << " expected, facing " << facing;
      }
    }
    EXPECT_GT(spritePixels, 500) << "the figure is drawn";
  }

  // The frame drawn plainly into a window of its own, read back from the screen.
  const Capture& renderOnScreen(HBITMAP frame) {
    auto known = renderedFrames.find(frame);
    if (known != renderedFrames.end()) return known->second;
    registerWindowClass(L"MorvetFrameProbe", DefWindowProcW);
    HWND probe = CreateWindowExW(WS_EX_TOPMOST, L"MorvetFrameProbe", L"probe", WS_POPUP, 0, 0, 100,
                                 105, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(probe, SW_SHOWNOACTIVATE);
    HDC windowDC = GetDC(probe);
    HDC memory = CreateCompatibleDC(windowDC);
    HGDIOBJ kept = SelectObject(memory, frame);
    BitBlt(windowDC, 0, 0, 100, 105, memory, 0, 0, SRCCOPY);
    SelectObject(memory, kept);
    DeleteDC(memory);
    ReleaseDC(probe, windowDC);
    pumpMessages();
    renderedFrames[frame] = capture(nullptr, 0, 0, 100, 105, depthBytes);
    DestroyWindow(probe);
    pumpMessages();
    return renderedFrames[frame];
  }

  // A walk up and to the right, far enough for several steps.
  void startWalkingAway() {
    pet.animation = slot::WALK;
    pet.currentFrame = &pet.drawing.animations[slot::WALK];
    pet.motionKind = motion::WALKS;
    pet.behaviourTicks = 0;
    pet.targetX = pet.x + 300;
    pet.targetY = pet.y - 100;
  }

  void standStill() {
    pet.command = Tick;
    pet.animation = slot::STAND;
    pet.currentFrame = &pet.drawing.animations[slot::STAND];
    pet.motionKind = motion::STANDS;
    pet.behaviourTicks = 0;
  }

  void expectEveryFrameShapedAsTheMergeDraws();
  void expectNoDrawnPixelHasTheKey();

  // Counts the copies of the pet's picture into its window.
  static int paints;
  static BOOL WINAPI countingPaint(HDC target, int x, int y, int width, int height, HDC source,
                                   int sourceX, int sourceY, DWORD operation) {
    ++paints;
    return BitBlt(target, x, y, width, height, source, sourceX, sourceY, operation);
  }

  // Counting stops: the objects are made as the system makes them.
  void stopCountingObjects() { petSystem.madeObject = standIns.before().madeObject; }

  SystemStandIns standIns;
  TimerRecorder timers;
  HWND backdrop = nullptr;
  HWND petWindow = nullptr;
  DesktopPet pet{7, Tick, 70, 9u};
  int depthBytes = 4;
  std::map<HBITMAP, Capture> renderedFrames;
};

int CompositionDepth::paints = 0;

int facingFor(const DesktopPet& pet) {
  return pet.command != Drag && pet.x <= pet.targetX ? FACING_MIRRORED : FACING_AS_STORED;
}

// Before its first step the pet stands on a list head, which draws nothing:
// the window shows the desktop alone.
TEST_F(CompositionDepth, SettlingPlacesAWindowThatShowsTheDesktopAlone) {
  EXPECT_GE(pet.x, 80);
  EXPECT_LT(pet.x, SCREEN_W - 80);
  EXPECT_GE(pet.y, 80);
  EXPECT_LT(pet.y, SCREEN_H - 80);
  EXPECT_EQ(pet.drawing.bytesPerPixel, depthBytes);
  ASSERT_EQ(timers.calls().size(), 1u);
  EXPECT_EQ(timers.calls()[0].period, 70u);
  changeTheDesktop();
  const Capture shown = capture(nullptr, pet.x - 7, pet.y - 7, 114, 119, depthBytes);
  const Capture clean = desktopNow(pet.x - 7, pet.y - 7, 114, 119);
  for (int y = 0; y < 119; ++y) {
    for (int x = 0; x < 114; ++x) {
      ASSERT_TRUE(samePixel(shown.pixel(x, y), clean.pixel(x, y), depthBytes))
          << "before its first step the window shows the desktop beneath it, at " << x << "," << y;
    }
  }
}

TEST_F(CompositionDepth, EveryStepShowsTheFrameOverTheDesktopAsItIsNow) {
  pet.PetStep(Tick);
  expectPetDrawnOverBackdrop(facingFor(pet));

  startWalkingAway();
  for (int step = 0; step < 6; ++step) {
    changeTheDesktop(11 * step);
    pet.PetStep(Tick);
    ASSERT_NE(pet.velocityX, 0);
    expectPetDrawnOverBackdrop(facingFor(pet));
  }

  const int oldLeft = pet.x - 7;
  const int oldTop = pet.y - 7;
  SetCursorPos(oldLeft < 500 ? 700 : 200, oldTop < 380 ? 600 : 150);
  pumpMessages();
  pet.PetStep(Drag);
  expectPetDrawnOverBackdrop(FACING_AS_STORED);
  const Capture left = capture(nullptr, oldLeft, oldTop, 114, 119, depthBytes);
  const Capture clean = desktopNow(oldLeft, oldTop, 114, 119);
  for (int y = 0; y < 119; ++y) {
    for (int x = 0; x < 114; ++x) {
      ASSERT_TRUE(samePixel(left.pixel(x, y), clean.pixel(x, y), depthBytes))
          << "the old spot shows the desktop again";
    }
  }
}

TEST_F(CompositionDepth, AStandingPetPutsBackAWindowThatSomethingElseMoved) {
  pet.PetStep(Tick);
  SetWindowPos(petWindow, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pumpMessages();
  paints = 0;
  petSystem.paintWindow = countingPaint;
  pet.PetStep(Tick);
  pumpMessages();
  ASSERT_EQ(pet.velocityX, 0);
  ASSERT_EQ(pet.velocityY, 0);
  EXPECT_EQ(paints, 1) << "put back, the picture is painted once";
  expectPetDrawnOverBackdrop(facingFor(pet));
}

// A new picture is painted once, moved or not: the paint the system asks for
// after a move that drops the window's bits would paint the same picture again.
TEST_F(CompositionDepth, AWalkingStepAndAStepOfAnActEachPaintTheirPictureOnce) {
  pet.PetStep(Tick);
  petSystem.paintWindow = countingPaint;
  const auto expectOnePaintAStep = [&](const char* what) {
    for (int step = 0; step < 3; ++step) {
      changeTheDesktop(17 * step);
      paints = 0;
      pet.PetStep(Tick);
      pumpMessages();
      EXPECT_EQ(paints, 1) << what << " step " << step;
      expectPetDrawnOverBackdrop(facingFor(pet));
    }
  };
  startWalkingAway();
  expectOnePaintAStep("walking");
  standStill();
  pet.animation = slot::NO;  // six frames, standing still
  pet.currentFrame = &pet.drawing.animations[slot::NO];
  pet.behaviourTicks = -1000;  // too young to end
  expectOnePaintAStep("NO");
}

TEST_F(CompositionDepth, StepsThatFollowEachOtherAtOnceShowTheLastOne) {
  startWalkingAway();
  for (int pair = 0; pair < 3; ++pair) {
    pet.PetStep(Tick);
    pet.PetStep(Tick);  // no wait for messages in between
    expectPetDrawnOverBackdrop(facingFor(pet));
  }
}

TEST_F(CompositionDepth, APetPartlyOffTheScreenShowsTheRestOfItself) {
  SetCursorPos(SCREEN_W - 20, SCREEN_H - 30);
  pumpMessages();
  pet.PetStep(Drag);
  ASSERT_GT(pet.x + 100 + 7, SCREEN_W) << "the window reaches past the right edge";
  ASSERT_GT(pet.y + 105 + 7, SCREEN_H) << "and past the bottom edge";
  expectPetDrawnOverBackdrop(FACING_AS_STORED);
  pumpMessages();
  pet.PetStep(Drag);
  expectPetDrawnOverBackdrop(FACING_AS_STORED);
}

// A standing pet paints nothing, so whatever lay over it and left must be
// repaired by the window's own paint, at once.
TEST_F(CompositionDepth, AStepThatChangesNothingPaintsNothingAndAPaintMessageRepairsTheWindow) {
  standStill();
  pet.PetStep(Tick);
  pumpMessages();
  paints = 0;
  petSystem.paintWindow = countingPaint;
  for (int step = 0; step < 3; ++step) pet.PetStep(Tick);
  EXPECT_EQ(paints, 0) << "the same frame in the same place is not painted again";
  const int facing = pet.facing;
  pet.facing = facing == FACING_MIRRORED ? FACING_AS_STORED : FACING_MIRRORED;  // turned round
  pet.composeAndPaint();
  EXPECT_EQ(paints, 1) << "another facing is";
  pet.facing = facing;
  pet.composeAndPaint();
  paints = 0;

  // A tooltip-like window over the pet's lower right corner, margin included.
  HWND tip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"MorvetBackdrop", L"tip",
                             WS_POPUP | WS_VISIBLE, pet.x + 60, pet.y + 80, 80, 60, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  patternShift = 91;  // it shows something else than the desktop
  UpdateWindow(tip);
  pumpMessages();
  patternShift = 0;
  DestroyWindow(tip);
  pumpMessages();
  expectPetDrawnOverBackdrop(facing);

  // Whatever the system lost of the window's picture, a paint message mends.
  HDC windowDC = GetDC(petWindow);
  PatBlt(windowDC, 0, 0, 114, 119, BLACKNESS);
  ReleaseDC(petWindow, windowDC);
  InvalidateRect(petWindow, nullptr, FALSE);
  UpdateWindow(petWindow);
  EXPECT_GE(paints, 1) << "the paint message paints the picture the pet holds";
  expectPetDrawnOverBackdrop(facing);
}

TEST_F(CompositionDepth, AfterTheLockScreenThePetGoesOnOverTheDesktopAsItIsNow) {
  pet.PetStep(Tick);
  pumpMessages();
  const int32_t x = pet.x;
  pet.holdSteps(HELD_BY_LOCK);
  EXPECT_EQ(timers.calls().back().period, 500u) << "held, the pet ticks slowly";
  pet.command = 0;
  pet.PetStep(Tick);
  EXPECT_EQ(pet.command, 0) << "no step ran";
  changeTheDesktop();
  pet.releaseSteps(HELD_BY_LOCK);
  EXPECT_EQ(timers.calls().back().period, 70u);
  pet.PetStep(Tick);
  EXPECT_EQ(pet.x, x) << "it goes on where it stood";
  expectPetDrawnOverBackdrop(facingFor(pet));
}

TEST_F(CompositionDepth, AFullScreenProgramHidesThePetUntilItGoes) {
  pet.PetStep(Tick);
  pumpMessages();
  RECT before{};
  GetWindowRect(petWindow, &before);
  pet.holdSteps(HELD_BY_FULL_SCREEN);
  EXPECT_FALSE(IsWindowVisible(petWindow)) << "hidden in place";
  changeTheDesktop();
  const Capture seen = capture(nullptr, before.left, before.top, 114, 119, depthBytes);
  const Capture clean = desktopNow(before.left, before.top, 114, 119);
  for (int y = 0; y < 119; ++y) {
    for (int x = 0; x < 114; ++x) {
      ASSERT_TRUE(samePixel(seen.pixel(x, y), clean.pixel(x, y), depthBytes))
          << "nothing of the hidden pet is seen";
    }
  }
  pet.releaseSteps(HELD_BY_FULL_SCREEN);
  EXPECT_TRUE(IsWindowVisible(petWindow)) << "shown again as soon as the program is gone";
  RECT after{};
  GetWindowRect(petWindow, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  expectPetDrawnOverBackdrop(facingFor(pet));
}

TEST_F(CompositionDepth, ADisplayChangeBringsThePetBackOntoItsMonitorAtOnce) {
  SetCursorPos(SCREEN_W - 10, SCREEN_H - 10);
  pumpMessages();
  pet.PetStep(Drag);  // the lower right corner of a screen that has just shrunk
  ASSERT_GT(pet.x + 100, SCREEN_W);
  pet.targetX = 5000;
  pet.targetY = 5000;
  changeTheDesktop();  // the new resolution lays the desktop out anew
  pet.followDisplay();
  EXPECT_EQ(pet.x, SCREEN_W - 100) << "the least move that shows the whole sprite";
  EXPECT_EQ(pet.y, SCREEN_H - 105);
  EXPECT_EQ(pet.targetX, SCREEN_W - 120) << "its target is on the screen again";
  EXPECT_EQ(pet.targetY, SCREEN_H - 90);
  expectPetDrawnOverBackdrop(FACING_AS_STORED);

  // The system moved the window itself: the pet takes that place.
  SetWindowPos(petWindow, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pet.followDisplay();
  EXPECT_EQ(pet.x, 307);
  EXPECT_EQ(pet.y, 207);
}

TEST_F(CompositionDepth, TheTeardownHidesAndParksTheWindowAndLeavesTheDesktopAsItIsNow) {
  pet.PetStep(Tick);
  pumpMessages();
  const int left = pet.x - 7;
  const int top = pet.y - 7;
  changeTheDesktop();
  EXPECT_EQ(GetCurrentObject(pet.screenDC, OBJ_PAL), pet.palette)
      << "one display context, the one that took the pet's palette";
  pet.restorePalette();
  EXPECT_EQ(GetCurrentObject(pet.screenDC, OBJ_PAL), pet.previousPalette)
      << "the palette goes back where it was taken from";
  pet.releaseSurfaces();
  EXPECT_EQ(pet.drawing.frameDC, nullptr);
  pet.PetStep(Tick);  // a step after the surfaces are gone draws nothing
  pet.parkWindow();
  pumpMessages();
  EXPECT_FALSE(IsWindowVisible(petWindow));
  RECT parked{};
  GetWindowRect(petWindow, &parked);
  EXPECT_EQ(parked.left, -500);
  EXPECT_EQ(parked.top, -500);
  EXPECT_EQ(parked.right - parked.left, 114) << "its size stays";
  const Capture now = capture(nullptr, 0, 0, SCREEN_W, SCREEN_H, depthBytes);
  InvalidateRect(backdrop, nullptr, FALSE);  // the whole desktop drawn anew, as a reference
  pumpMessages();
  const Capture changed = capture(nullptr, 0, 0, SCREEN_W, SCREEN_H, depthBytes);
  for (int y = 0; y < 119; ++y) {
    for (int x = 0; x < 114; ++x) {
      ASSERT_TRUE(samePixel(now.pixel(left + x, top + y), changed.pixel(left + x, top + y), depthBytes))
          << "where the pet stood the desktop shows as it is now, at " << x << "," << y;
    }
  }
}

// Wine follows a program's change of the display's depth as Windows does:
// bitmaps made after it take the new depth, and every window hears of it.
TEST_F(CompositionDepth, ADepthChangeMakesEverythingAnewAtTheNewDepth) {
  if (depthBytes != 4) GTEST_SKIP() << "changed from 32 bits per pixel";
  struct PutBack {
    ~PutBack() { ChangeDisplaySettingsW(nullptr, 0); }
  } putBack;
  pet.PetStep(Tick);
  for (const int bits : {16, 32}) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmBitsPerPel = bits;
    mode.dmPelsWidth = SCREEN_W;
    mode.dmPelsHeight = SCREEN_H;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    depthBytes = bits / 8;
    pet.followDisplay();  // as on WM_DISPLAYCHANGE
    EXPECT_EQ(pet.drawing.bytesPerPixel, depthBytes) << "the merge takes the new depth's pixels";
    for (const FrameNode* frame : everyFrame(pet)) {
      BITMAP info{};
      GetObjectW(frame->bitmap, sizeof info, &info);
      ASSERT_EQ(info.bmBitsPixel, bits) << "every frame made anew at the new depth";
    }
    ASSERT_TRUE(pet.drawing.shapes.keyed);
    expectNoDrawnPixelHasTheKey();
    changeTheDesktop(bits);
    pet.PetStep(Tick);
    expectPetDrawnOverBackdrop(facingFor(pet));
  }
}

// Which pixels of a frame of w x h screen pixels the merge draws: those where its
// output leaves a background of all-zero bytes or one of all-one bytes; no pixel
// can match both.
std::vector<bool> pixelsTheMergeDraws(DesktopPet& pet, const FrameNode* frame, int facing,
                                      int depthBytes, int w, int h) {
  std::vector<bool> drawn(w * h, false);
  for (const BYTE fill : {BYTE(0x00), BYTE(0xFF)}) {
    std::vector<BYTE> ground(w * h * depthBytes, fill);
    SetBitmapBits(pet.drawing.spriteBitmap, ground.size(), ground.data());
    pet.mergeSprite(pet.drawing.spriteBitmap, frame, w, w * h, facing, depthBytes);
    std::vector<BYTE> merged(ground.size());
    GetBitmapBits(pet.drawing.spriteBitmap, merged.size(), merged.data());
    for (int p = 0; p < w * h; ++p) {
      for (int b = 0; b < (depthBytes == 4 ? 3 : depthBytes); ++b) {
        if (merged[p * depthBytes + b] != fill) drawn[p] = true;
      }
    }
  }
  return drawn;
}

void CompositionDepth::expectEveryFrameShapedAsTheMergeDraws() {
  const int w = scaled(100);
  const int h = scaled(105);
  const int m = scaled(7);
  ASSERT_EQ(pet.drawing.shapes.frames.size(), everyFrame(pet).size());
  for (const WindowShapes::FrameShape& shape : pet.drawing.shapes.frames) {
    for (const int facing : {FACING_AS_STORED, FACING_MIRRORED}) {
      const HRGN region = facing == FACING_AS_STORED ? shape.asStored : shape.mirrored;
      const std::vector<bool> drawn =
          pixelsTheMergeDraws(pet, shape.frame, facing, depthBytes, w, h);
      RECT bounds{};
      GetRgnBox(region, &bounds);
      EXPECT_GE(bounds.left, m);
      EXPECT_GE(bounds.top, m);
      EXPECT_LE(bounds.right, m + w) << "nothing of the margin is shaped";
      EXPECT_LE(bounds.bottom, m + h);
      int inside = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const bool shaped = PtInRegion(region, m + x, m + y) != 0;
          inside += shaped;
          ASSERT_EQ(shaped, bool(drawn[y * w + x]))
              << "pixel " << x << "," << y << " facing " << facing;
        }
      }
      EXPECT_GT(inside, 500) << "the figure is shaped";
    }
  }
  RECT emptyBounds{};
  EXPECT_EQ(GetRgnBox(pet.drawing.shapes.empty, &emptyBounds), NULLREGION)
      << "a list head draws nothing";
}

// The system shows nothing where the picture has the key's bytes: no pixel the
// merge draws of any frame, in either facing, may have them.
void CompositionDepth::expectNoDrawnPixelHasTheKey() {
  const int w = scaled(100);
  const int h = scaled(105);
  const int compared = depthBytes == 4 ? 3 : depthBytes;
  std::vector<BYTE> key(w * h * depthBytes);
  PatBlt(pet.drawing.spriteDC, 0, 0, w, h, PATCOPY);  // the sprite's ground is the key
  GetBitmapBits(pet.drawing.spriteBitmap, key.size(), key.data());
  for (const FrameNode* frame : everyFrame(pet)) {
    for (const int facing : {FACING_AS_STORED, FACING_MIRRORED}) {
      const std::vector<bool> drawn = pixelsTheMergeDraws(pet, frame, facing, depthBytes, w, h);
      PatBlt(pet.drawing.spriteDC, 0, 0, w, h, PATCOPY);
      pet.mergeSprite(pet.drawing.spriteBitmap, frame, w, w * h, facing, depthBytes);
      std::vector<BYTE> merged(key.size());
      GetBitmapBits(pet.drawing.spriteBitmap, merged.size(), merged.data());
      int figure = 0;
      for (int p = 0; p < w * h; ++p) {
        if (!drawn[p]) continue;
        ++figure;
        ASSERT_NE(std::memcmp(&merged[p * depthBytes], &key[0], compared), 0)
            << "a drawn pixel has the key's bytes, pixel " << p << " facing " << facing;
      }
      EXPECT_GT(figure, 500);
    }
  }
}

// At 16 and 32 bits the system keys the window; on a palette display, where
// Wine ignores a key, and where the system refuses it, regions shape it.
TEST_F(CompositionDepth, TheWindowIsKeyedWhereTheKeyCanBeTrustedAndShapedByRegionsElsewhere) {
  const LONG_PTR style = GetWindowLongPtrW(petWindow, GWL_EXSTYLE);
  HRGN windowShape = CreateRectRgn(0, 0, 0, 0);
  if (depthBytes == 1) {
    EXPECT_FALSE(pet.drawing.shapes.keyed);
    EXPECT_FALSE(style & WS_EX_LAYERED);
    expectEveryFrameShapedAsTheMergeDraws();
  } else {
    ASSERT_TRUE(pet.drawing.shapes.keyed);
    EXPECT_TRUE(style & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(petWindow, &key, &alpha, &flags));
    EXPECT_EQ(key, pet.drawing.shapes.key);
    EXPECT_TRUE(flags & LWA_COLORKEY);
    for (const int component : {GetRValue(key), GetGValue(key), GetBValue(key)}) {
      EXPECT_TRUE(component == 0 || component == 255) << "exact at every depth";
    }
    EXPECT_TRUE(pet.drawing.shapes.frames.empty()) << "no regions are made";
    pet.PetStep(Tick);
    EXPECT_EQ(GetWindowRgn(petWindow, windowShape), ERROR) << "the window has no region";
    expectNoDrawnPixelHasTheKey();
    expectPetDrawnOverBackdrop(facingFor(pet));

    petSystem.setLayeredWindowAttributes = [](HWND, COLORREF, BYTE, DWORD) -> BOOL { return FALSE; };
    pet.chooseWindowShape();
    EXPECT_FALSE(pet.drawing.shapes.keyed) << "a refused key gives regions";
    EXPECT_FALSE(GetWindowLongPtrW(petWindow, GWL_EXSTYLE) & WS_EX_LAYERED);
    expectEveryFrameShapedAsTheMergeDraws();
  }
  DeleteObject(windowShape);
}

int shapeSets = 0;
int WINAPI countingSetWindowRgn(HWND window, HRGN region, BOOL redraw) {
  ++shapeSets;
  return SetWindowRgn(window, region, redraw);
}

// Shaped by regions, the window's shape must be the one of the frame and facing
// it shows, set only when one of them changes: setting a shape costs as much as
// moving the window.
TEST_F(CompositionDepth, ARegionWindowTakesTheShapeOfTheFrameShownAndOnlyWhenItChanges) {
  if (pet.drawing.shapes.keyed) pet.shapeByRegions();  // as on a palette display
  shapeSets = 0;
  petSystem.setWindowRgn = countingSetWindowRgn;
  const auto expectShapeOfFrameShown = [&]() {
    HRGN windowShape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(petWindow, windowShape), ERROR);
    HRGN expected = nullptr;
    for (const WindowShapes::FrameShape& shape : pet.drawing.shapes.frames) {
      if (shape.frame == pet.currentFrame) {
        expected = pet.facing == FACING_MIRRORED ? shape.mirrored : shape.asStored;
      }
    }
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(EqualRgn(windowShape, expected));
    DeleteObject(windowShape);
  };

  standStill();
  pet.PetStep(Tick);
  expectShapeOfFrameShown();
  EXPECT_EQ(shapeSets, 1);
  pet.PetStep(Tick);
  pet.PetStep(Tick);
  EXPECT_EQ(shapeSets, 1) << "the same frame in the same facing keeps its shape";
  expectPetDrawnOverBackdrop(facingFor(pet));

  startWalkingAway();
  for (int step = 0; step < 5; ++step) {
    pet.PetStep(Tick);
    expectShapeOfFrameShown();
  }
  EXPECT_EQ(shapeSets, 6) << "each walking step shows another frame";
  expectPetDrawnOverBackdrop(facingFor(pet));
}

int wholeDesktopDpi = 192;
int dpiOfTheWholeDesktop(const PixelRect&) { return wholeDesktopDpi; }

int WINAPI refusingSetWindowRgn(HWND, HRGN, BOOL) { return 0; }

// A pet of its own on the test's window, from its palette to its teardown,
// and the objects it made that are still alive once it is gone. One that goes
// through everything walks in a window shaped by regions, has its shape
// refused, is rebuilt at scale 2 and then fails a rebuild part-way.
std::vector<HGDIOBJ> objectsLeftByAPet(HWND window, bool throughEverything) {
  startCountingObjects();
  {
    DesktopPet other{7, Tick, 70, 11u};
    HINSTANCE module = GetModuleHandleW(nullptr);
    other.buildPalette(module);
    other.attach(module, window);
    other.loadAnimations();
    other.settle();
    const auto walk = [&](int steps) {
      other.animation = slot::WALK;
      other.motionKind = motion::WALKS;
      other.behaviourTicks = 0;
      other.targetX = other.x + 300;
      other.targetY = other.y;
      for (int step = 0; step < steps; ++step) other.PetStep(Tick);
    };
    walk(3);
    if (throughEverything) {
      other.shapeByRegions();
      walk(3);
      const PetSystem before = petSystem;
      petSystem.setWindowRgn = refusingSetWindowRgn;
      walk(2);
      petSystem.setWindowRgn = before.setWindowRgn;
      petSystem.readDpi = dpiOfTheWholeDesktop;
      wholeDesktopDpi = 192;
      other.followScale();
      EXPECT_EQ(other.drawing.factor, 2);
      walk(2);
      wholeDesktopDpi = 96;
      refuseObjectAfter(40);
      other.followScale();
      EXPECT_EQ(other.drawing.factor, 2) << "the rebuild failed part-way";
      walk(2);
    }
  }
  petSystem.madeObject = countingMade;
  const std::vector<HGDIOBJ> alive = objectsAlive();
  madeObjects.clear();
  return alive;
}

// Whatever a pet went through, once it is gone only its palette is left, which
// lives until the process ends. Each release runs at this depth: the regions
// and the redraws through the palette of a palette display included.
TEST_F(CompositionDepth, APetLeavesOnlyItsPaletteBehindWhateverItWentThrough) {
  const DWORD systemCountBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const std::vector<HGDIOBJ> afterALife = objectsLeftByAPet(petWindow, false);
  const DWORD systemCountBetween = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const std::vector<HGDIOBJ> afterEverything = objectsLeftByAPet(petWindow, true);
  const DWORD systemCountAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  stopCountingObjects();
  for (const std::vector<HGDIOBJ>* left : {&afterALife, &afterEverything}) {
    ASSERT_EQ(left->size(), 1u) << "objects left";
    EXPECT_EQ(GetObjectType(left->front()), DWORD(OBJ_PAL)) << "the palette";
  }
  // Wine does not count a process's GDI objects; Windows does.
  if (systemCountBefore) {
    EXPECT_EQ(systemCountAfter - systemCountBetween, systemCountBetween - systemCountBefore);
  }
}

// Run on a display at 200 %: each pet pixel is 2 x 2 screen pixels.
class CompositionScaled : public CompositionDepth {};

TEST_F(CompositionScaled, FramesAndWindowAreTwiceTheSizeAndThePictureIsTheArtDoubled) {
  ASSERT_EQ(pet.drawing.factor, 2) << "run at 192 dots per inch";
  EXPECT_EQ(pet.spriteWidth, 100) << "the rules count the pet's own pixels";
  EXPECT_EQ(pet.spriteHeight, 105);
  for (const AnimationEntry& entry : animationTable) {
    int n = 1;
    for (const FrameNode* frame = pet.drawing.animations[entry.slot].next; frame;
         frame = frame->next, ++n) {
      const std::string name = entry.name + std::to_string(n);
      HBITMAP art = LoadBitmapA(GetModuleHandleW(nullptr), name.c_str());
      std::vector<BYTE> stored(100 * 105 * depthBytes), shown(200 * 210 * depthBytes);
      GetBitmapBits(art, stored.size(), stored.data());
      DeleteObject(art);
      BITMAP info{};
      GetObjectW(frame->bitmap, sizeof info, &info);
      ASSERT_EQ(info.bmWidth, 200) << name;
      ASSERT_EQ(info.bmHeight, 210) << name;
      GetBitmapBits(frame->bitmap, shown.size(), shown.data());
      for (int y = 0; y < 210; ++y) {
        for (int x = 0; x < 200; ++x) {
          ASSERT_EQ(std::memcmp(&shown[(y * 200 + x) * depthBytes],
                                &stored[((y / 2) * 100 + x / 2) * depthBytes], depthBytes), 0)
              << name << " pixel " << x << "," << y << " is not its stored pixel doubled";
        }
      }
    }
  }
  ASSERT_TRUE(pet.drawing.shapes.keyed);
  expectNoDrawnPixelHasTheKey();

  pet.PetStep(Tick);
  expectPetDrawnOverBackdrop(facingFor(pet));
  startWalkingAway();
  for (int step = 0; step < 4; ++step) {
    changeTheDesktop(13 * step);
    pet.PetStep(Tick);
    expectPetDrawnOverBackdrop(facingFor(pet));
  }
  pet.shapeByRegions();  // the palette display's way, at twice the size
  expectEveryFrameShapedAsTheMergeDraws();
}

// Handles the pet holds, to see that a rebuild frees every one of them.
std::vector<HGDIOBJ> petObjects(const DesktopPet& pet) {
  std::vector<HGDIOBJ> objects{pet.drawing.frameBitmap, pet.drawing.spriteBitmap,
                               pet.drawing.frameDC, pet.drawing.spriteDC};
  if (pet.drawing.shapes.empty) objects.push_back(pet.drawing.shapes.empty);
  for (const AnimationList& head : pet.drawing.animations) {
    for (const FrameNode* frame = head.next; frame; frame = frame->next) objects.push_back(frame->bitmap);
  }
  for (const WindowShapes::FrameShape& shape : pet.drawing.shapes.frames) {
    objects.push_back(shape.asStored);
    objects.push_back(shape.mirrored);
  }
  return objects;
}


TEST_F(CompositionScaled, AChangeOfScaleRebuildsEverythingKeepsThePetInHandAndLeaksNothing) {
  ASSERT_EQ(pet.drawing.factor, 2) << "run at 192 dots per inch";
  wholeDesktopDpi = 192;
  petSystem.readDpi = dpiOfTheWholeDesktop;
  pet.PetStep(Tick);
  pumpMessages();
  const size_t objectCount = petObjects(pet).size();
  // The hand holds the figure at its pixel (30, 40).
  POINT hand{2 * pet.x + 61, 2 * pet.y + 81};
  SetCursorPos(hand.x, hand.y);
  pumpMessages();
  for (const int dpi : {96, 192}) {
    const std::vector<HGDIOBJ> before = petObjects(pet);
    const int factor = dpi / 96;
    wholeDesktopDpi = dpi;
    pet.followScale();
    ASSERT_EQ(pet.drawing.factor, factor);
    for (HGDIOBJ object : before) EXPECT_EQ(GetObjectType(object), 0u) << "an old object is left";
    EXPECT_EQ(petObjects(pet).size(), objectCount) << "the same objects, made anew";
    EXPECT_EQ(factor * pet.x + 30 * factor, hand.x - hand.x % factor) << "the hand holds the same pixel";
    EXPECT_EQ(factor * pet.y + 40 * factor, hand.y - hand.y % factor);
    expectPetDrawnOverBackdrop(facingFor(pet));
    pet.PetStep(Tick);
    expectPetDrawnOverBackdrop(facingFor(pet));
    expectNoDrawnPixelHasTheKey();
  }

  // Held, the pet takes the new scale only once it is back; two changes
  // before then give one rebuild, at the last one.
  pet.holdSteps(HELD_BY_LOCK);
  wholeDesktopDpi = 144;
  pet.followScale();
  wholeDesktopDpi = 96;
  pet.followScale();
  EXPECT_EQ(pet.drawing.factor, 2);
  startCountingObjects();
  pet.releaseSteps(HELD_BY_LOCK);
  EXPECT_EQ(pet.drawing.factor, 1);
  EXPECT_EQ(bitmapsMade, 29 + 2) << "one rebuild: the frames and the two surfaces";
  pet.PetStep(Tick);
  expectPetDrawnOverBackdrop(facingFor(pet));
}

// A laptop's own screen at 150 % beside a monitor at 100 %, side by side: the
// pet stands on the left one first, at its own size.
class ScaledMonitors : public CompositionDepth {
 protected:
  void stateTheDesktop() override {
    scaledMonitors = {{{0, 0, 512, 768}, 96}, {{512, 0, 512, 768}, 144}};
    stateMonitors();
  }
  void stateMonitors() {
    std::vector<PetArea> areas;
    for (const ScaledMonitor& m : scaledMonitors) areas.push_back({m.monitor, m.monitor});
    monitors.reset(new StatedMonitors(areas));
    petSystem.readDpi = dpiOfMonitorUnder;
    petSystem.setWindowPos = movingAcrossMonitors;
    dpiMessages = 0;
  }
  void TearDown() override {
    monitors.reset();
    CompositionDepth::TearDown();
  }

  // Stands the pet at (x, y) of its own pixels and shows it there.
  void standAt(int32_t x, int32_t y) {
    standStill();
    pet.x = x;
    pet.y = y;
    pet.velocityX = pet.velocityY = 0;
    pet.targetX = x;
    pet.targetY = y;
    pet.composeAndPaint();
    pumpMessages();
  }

  // Runs steps until the scale changes, at most `limit`: the scale changed
  // right after the step that sent the pet's window across, once, and not
  // inside its move.
  void expectOneRebuildAfterTheStepThatCrosses(int32_t command, int limit, int newFactor) {
    const int oldFactor = pet.drawing.factor;
    const int frames = 29;
    for (int step = 0; step < limit && pet.drawing.factor == oldFactor; ++step) {
      dpiMessages = 0;
      factorWhileMoving = 0;
      startCountingObjects();
      pet.PetStep(command);
    }
    ASSERT_EQ(pet.drawing.factor, newFactor) << "across the seam the pet takes the other scale";
    EXPECT_EQ(dpiMessages, 1);
    EXPECT_EQ(factorWhileMoving, oldFactor) << "nothing is made anew inside the move";
    EXPECT_EQ(bitmapsMade, (newFactor > 1 ? 2 * frames : frames) + 2) << "exactly one rebuild";
    stopCountingObjects();
  }

  std::unique_ptr<StatedMonitors> monitors;
};

TEST_F(ScaledMonitors, AWalkADragAndAnArrowStepAcrossTheSeamEachRebuildOnceAfterTheStep) {
  ASSERT_EQ(pet.drawing.factor, 1);
  SetCursorPos(0, 0);  // not on the pet: its middle stays where it is
  standAt(380, 300);
  startWalkingAway();
  pet.targetY = pet.y;
  expectOneRebuildAfterTheStepThatCrosses(Tick, 20, 2);
  expectPetDrawnOverBackdrop(facingFor(pet));
  pet.PetStep(Tick);
  expectPetDrawnOverBackdrop(facingFor(pet));

  // Carried back by the hand, which keeps holding the figure's pixel (50, 10).
  const POINT hand{200, 300};
  SetCursorPos(hand.x, hand.y);
  pumpMessages();
  expectOneRebuildAfterTheStepThatCrosses(Drag, 1, 1);
  EXPECT_EQ(hand.x - pet.x, 50) << "the figure's pixel under the cursor stays under it";
  EXPECT_EQ(hand.y - pet.y, 10);
  expectPetDrawnOverBackdrop(FACING_AS_STORED);
  pet.command = Tick;

  // An arrow held goes on by the speed it has past the bound of its area.
  standAt(459, 300);
  pet.command = KeyStep;
  pet.pendingDirection = DIRECTION_RIGHT;
  pet.velocityX = pet.margin;
  expectOneRebuildAfterTheStepThatCrosses(KeyStep, 1, 2);
  expectPetDrawnOverBackdrop(pet.facing);
}

TEST_F(ScaledMonitors, AsideLockedOrMovedBySomethingElseThePetKeepsTheScaleOfItsMonitor) {
  for (const int32_t left : {200, 700}) {
    SetCursorPos(left, 300);
    pumpMessages();
    pet.PetStep(Drag);  // onto that monitor, at its scale
    pet.PetStep(Drag);  // held still, so that the drop does not fly on
    pet.PetStep(Tick);
    const int factor = pet.drawing.factor;
    ASSERT_EQ(factor, left < 512 ? 1 : 2);
    startCountingObjects();
    dpiMessages = 0;
    for (const int32_t reason : {HELD_BY_FULL_SCREEN, HELD_BY_LOCK}) {
      pet.holdSteps(reason);
      pet.releaseSteps(reason);
    }
    EXPECT_EQ(pet.drawing.factor, factor);
    EXPECT_EQ(bitmapsMade, 0) << "nothing made anew";

    // A window the system moved onto the other monitor: the pet's sprite still
    // stands where it stood, and so does its scale.
    SetWindowPos(petWindow, nullptr, left < 512 ? 700 : 100, 300, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pet.followScale();
    EXPECT_EQ(pet.drawing.factor, factor);
    EXPECT_EQ(bitmapsMade, 0);
    stopCountingObjects();
    pet.PetStep(Tick);
    expectPetDrawnOverBackdrop(facingFor(pet));
  }
}

// Grown about the cursor, a pet at the seam would stand mostly on the monitor
// it came from, which would ask for the old scale back, and so on for ever.
TEST_F(ScaledMonitors, APetThatWouldGrowBackAcrossTheSeamKeepsItsScale) {
  SetCursorPos(560, 350);  // over its right part, not holding it
  pumpMessages();
  startCountingObjects();
  standAt(465, 300);  // its middle a little right of the seam: the move asks for the scale there
  EXPECT_EQ(dpiMessages, 1);
  pet.followScale();
  EXPECT_EQ(pet.drawing.factor, 1);
  EXPECT_EQ(bitmapsMade, 0);
  EXPECT_EQ(pet.x, 465);
  stopCountingObjects();
  SetCursorPos(0, 0);
  pumpMessages();
  pet.followScale();
  EXPECT_EQ(pet.drawing.factor, 2) << "grown about its middle it stays on the scaled monitor";
}

// The scaled monitor left of the primary one, at negative coordinates, where
// the cursor is stated: the real screen has no such part.
class ScaledMonitorsLeftOfThePrimary : public ScaledMonitors {
 protected:
  void stateTheDesktop() override {
    scaledMonitors = {{{0, 0, 1024, 768}, 96}, {{-512, 0, 512, 768}, 144}};
    stateMonitors();
  }
};

POINT statedCursor{};
BOOL WINAPI statedCursorPos(LPPOINT point) {
  *point = statedCursor;
  return TRUE;
}

TEST_F(ScaledMonitorsLeftOfThePrimary, ADragOntoItKeepsTheFiguresPixelUnderTheCursor) {
  petSystem.getCursorPos = statedCursorPos;
  statedCursor = {-301, 300};
  expectOneRebuildAfterTheStepThatCrosses(Drag, 1, 2);
  // The cursor holds the figure at its pixel (50, 10), in pixels twice the size.
  EXPECT_EQ((statedCursor.x - 2 * pet.x) / 2, 50);
  EXPECT_EQ((statedCursor.y - 2 * pet.y) / 2, 10);
  EXPECT_EQ(pet.home.monitor.left, -256) << "its area in its own pixels";
  statedCursor = {300, 300};
  expectOneRebuildAfterTheStepThatCrosses(Drag, 1, 1);
  EXPECT_EQ(pet.x, 250);
}

// Every object of a rebuild refused in turn: the pet goes on at its old scale
// with every handle it had, frees whatever the failed rebuild made, and the
// next change succeeds.
TEST_F(ScaledMonitors, ARebuildThatCannotBeMadeLeavesThePetAsItWasUntilTheNextChange) {
  petSystem.readDpi = dpiOfTheWholeDesktop;
  wholeDesktopDpi = 96;
  standAt(200, 300);
  pet.PetStep(Tick);
  // The frames as loaded and as scaled, and the two surfaces' bitmaps and
  // display contexts.
  const int objectsOfARebuild = 2 * 29 + 2 + 2;
  for (int refused = 1; refused <= objectsOfARebuild; ++refused) {
    const std::vector<HGDIOBJ> held = petObjects(pet);
    const FrameNode* frame = pet.currentFrame;
    startCountingObjects(refused);
    wholeDesktopDpi = 144;
    pet.followScale();
    stopCountingObjects();
    ASSERT_GE(objectsMade, refused);
    ASSERT_EQ(pet.drawing.factor, 1) << "refused object " << refused;
    ASSERT_EQ(petObjects(pet), held) << "the handles it held before, refused object " << refused;
    for (HGDIOBJ object : held) ASSERT_NE(GetObjectType(object), 0u);
    ASSERT_TRUE(objectsAlive().empty()) << "refused object " << refused << " left an object";
    EXPECT_EQ(pet.currentFrame, frame);
    if (refused % 20 == 1) {
      pet.PetStep(Tick);
      expectPetDrawnOverBackdrop(facingFor(pet));
    }
  }
  pet.followScale();
  EXPECT_EQ(pet.drawing.factor, 2) << "the next change succeeds";
  expectPetDrawnOverBackdrop(facingFor(pet));
}

}  // namespace
