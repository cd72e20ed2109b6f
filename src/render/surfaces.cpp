#include <cstdlib>

#include "pet/desktop_pet.h"
#include "pet/random.h"
#include "render/pet_scale.h"
#include "render/screen_area.h"

namespace {
const wchar_t* const UNKNOWN_DEPTH_TEXT = L"我不認識你的電腦啦!!!";
const wchar_t* const TIMER_REFUSED_TEXT = L"我很累..不要玩我";
constexpr int32_t PARKING_SPOT = -500;

void deleteDC(HDC& dc) {
  if (dc) DeleteDC(dc);
  dc = nullptr;
}

void deleteBitmap(HBITMAP& bitmap) {
  if (bitmap) DeleteObject(bitmap);
  bitmap = nullptr;
}

void freeBuffer(uint8_t*& buffer) {
  std::free(buffer);
  buffer = nullptr;
}

}  // namespace

size_t DesktopPet::pixelBufferBytes() const {
  return maxFramePixels > 0 ? static_cast<size_t>(maxFramePixels) * 8 : 0;
}

bool DesktopPet::hasSurfaces() const {
  return screenDC && frameDC && scratchDC && spriteDC && backDC && spriteBits &&
         backgroundBits && mirrorBits && spriteWidth > 0 && spriteHeight > 0;
}

void DesktopPet::readVirtualScreen() {
  virtualScreen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                   GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Copies the screen rectangle (left, top, width, height) to (0, 0) of `target`;
// false when the screen could not be read (the lock screen or a UAC prompt has
// it). Only the part on the screen is read: Wine fails a copy whose source
// reaches past the screen's edge and leaves black behind, and what lies off the
// screen is never seen anyway. The screen is every monitor together: the pet
// may stand on any of them.
bool DesktopPet::captureScreen(HDC target, int32_t left, int32_t top, int32_t width,
                               int32_t height) {
  const PixelRect part = visiblePart({left, top, width, height}, virtualScreen);
  if (part.width <= 0 || part.height <= 0) return true;
  return petReadScreen(target, part.left - left, part.top - top, part.width, part.height, screenDC,
                       part.left, part.top, SRCCOPY) != 0;
}

PixelRect DesktopPet::windowOnScreen() const {
  return {screenPixels(x - margin), screenPixels(y - margin),
          screenPixels(spriteWidth + 2 * margin), screenPixels(spriteHeight + 2 * margin)};
}

PixelRect DesktopPet::spriteOnScreen() const {
  return {screenPixels(x), screenPixels(y), screenPixels(spriteWidth), screenPixels(spriteHeight)};
}

void DesktopPet::allocateBuffers() {
  const size_t bufferBytes = pixelBufferBytes();
  spriteBits = static_cast<uint8_t*>(std::malloc(bufferBytes));
  backgroundBits = static_cast<uint8_t*>(std::malloc(bufferBytes));
  mirrorBits = static_cast<uint8_t*>(std::malloc(bufferBytes));
}

// The four off-screen pictures, in screen pixels.
void DesktopPet::makeMemorySurfaces() {
  const PixelRect shown = windowOnScreen();
  const int32_t spriteW = screenPixels(spriteWidth);
  const int32_t spriteH = screenPixels(spriteHeight);
  frameDC = CreateCompatibleDC(screenDC);
  spriteDC = CreateCompatibleDC(screenDC);
  scratchDC = CreateCompatibleDC(screenDC);
  backDC = CreateCompatibleDC(screenDC);
  frameBitmap = CreateCompatibleBitmap(screenDC, shown.width, shown.height);
  scratchBitmap = CreateCompatibleBitmap(screenDC, shown.width, shown.height);
  spriteBitmap = CreateCompatibleBitmap(screenDC, spriteW, spriteH);
  backBitmap = CreateCompatibleBitmap(screenDC, spriteW, spriteH);
  SelectObject(frameDC, frameBitmap);
  SelectObject(scratchDC, scratchBitmap);
  SelectObject(spriteDC, spriteBitmap);
  SelectObject(backDC, backBitmap);
}

void DesktopPet::settle() {
  allocateBuffers();

  currentFrame = &animations[slot::STAND];
  animation = slot::STAND;
  motionKind = motion::STANDS;

  // Without STAND's art there is nothing to size the pet by; its loader has
  // reported the broken art and the program is on its way out.
  const FrameNode* standing = animations[slot::STAND].next;
  if (!standing || !standing->bitmap) return;

  BITMAP info{};
  GetObjectW(standing->bitmap, sizeof info, &info);
  // The frames were scaled at load; the pet's rules count its own pixels.
  spriteWidth = info.bmWidth / scale.factor;
  spriteHeight = info.bmHeight / scale.factor;
  if (const int32_t bytes = bytesForDepth(info.bmBitsPixel)) {
    bytesPerPixel = bytes;
  } else {
    MessageBoxW(GetDesktopWindow(), UNKNOWN_DEPTH_TEXT, PET_CAPTION, MB_OK);
    SendMessageW(window, WM_DESTROY, 0, 0);
  }

  // The first spot lies on the primary monitor, clear of its taskbar. On an
  // area too small for the spot's margins the draws are made all the same, so
  // the run's sequence of draws stays the same.
  PetArea primary = home;
  findArea(PRIMARY_ORIGIN, &primary);
  x = firstSpotAlong(nextRandom(), primary.work.left, primary.work.width);
  y = firstSpotAlong(nextRandom(), primary.work.top, primary.work.height);
  home = primary;  // which holds at least 81 of the sprite's 100 columns

  // The display context that holds the pet's palette serves the screen reads
  // too; after a missing frame took it there is none yet.
  if (!screenDC) screenDC = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  makeMemorySurfaces();

  // The first captures are taken while the window still covers nothing: an
  // unpainted window shows black on a composited desktop, not what lies beneath.
  const PixelRect shown = windowOnScreen();
  captureScreen(frameDC, shown.left, shown.top, shown.width, shown.height);
  captureScreen(scratchDC, shown.left, shown.top, shown.width, shown.height);
  captureScreen(backDC, screenPixels(x), screenPixels(y), screenPixels(spriteWidth),
                screenPixels(spriteHeight));

  paintedX = x;
  paintedY = y;

  // Shaped before it is first shown: a box of desktop picture would take the clicks.
  prepareShapes();
  showShape();
  SetWindowPos(window, insertAfter, shown.left, shown.top, shown.width, shown.height,
               SWP_NOOWNERZORDER | SWP_NOCOPYBITS | SWP_NOACTIVATE);
  paintWindow();
  placeWindow();

  if (!petSetTimer(window, timerId, timerPeriod, nullptr)) {
    MessageBoxW(nullptr, TIMER_REFUSED_TEXT, PET_CAPTION, MB_OK);
  }
}

// The window's picture goes to the screen at once: the next step's capture
// must find it there.
void DesktopPet::paintWindow() {
  HDC windowDC = GetDC(window);
  const PixelRect shown = windowOnScreen();
  BitBlt(windowDC, 0, 0, shown.width, shown.height, frameDC, 0, 0, SRCCOPY);
  ReleaseDC(window, windowDC);
  flushToScreen();
}

void DesktopPet::placeWindow() {
  const PixelRect shown = windowOnScreen();
  SetWindowPos(window, insertAfter, shown.left, shown.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  windowAside = 0;
}

// Out of sight of every monitor, also those left of or above the primary one.
// The next step takes fresh captures of what then lies under the pet.
void DesktopPet::moveWindowOffScreen() {
  if (!hasSurfaces()) return;
  const PixelRect shown = windowOnScreen();
  SetWindowPos(window, nullptr, virtualScreen.left - 2 * shown.width,
               virtualScreen.top - 2 * shown.height, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  flushToScreen();
  windowAside = 1;
}

// Wine holds a window's move and painting back until the thread checks for
// messages; a check that waits for nothing and takes nothing lets them through.
void DesktopPet::flushToScreen() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

void DesktopPet::releaseDisplayContexts() {
  deleteDC(screenDC);
  deleteDC(frameDC);
  deleteDC(backDC);
  deleteDC(spriteDC);
  deleteDC(scratchDC);
}

void DesktopPet::releaseSurfaces() {
  releaseDisplayContexts();
  releaseMemorySurfaces();
}

// Every DC goes before its bitmap; the display context stays, holding the palette.
void DesktopPet::releaseMemorySurfaces() {
  deleteDC(frameDC);
  deleteDC(backDC);
  deleteDC(spriteDC);
  deleteDC(scratchDC);
  deleteBitmap(frameBitmap);
  deleteBitmap(spriteBitmap);
  deleteBitmap(scratchBitmap);
  deleteBitmap(backBitmap);
  freeBuffer(spriteBits);
  freeBuffer(backgroundBits);
  freeBuffer(mirrorBits);
}

void DesktopPet::parkWindow() {
  if (!window) return;
  SetWindowPos(window, HWND_BOTTOM, PARKING_SPOT, PARKING_SPOT, 64, 64,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}
