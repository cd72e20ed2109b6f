#include <cstdlib>

#include "pet/desktop_pet.h"
#include "pet/random.h"
#include "render/pet_scale.h"
#include "render/screen_area.h"

namespace {
const wchar_t* const UNKNOWN_DEPTH_TEXT = L"我不認識你的電腦啦!!!";
const wchar_t* const TIMER_REFUSED_TEXT = L"我很累..不要玩我";
constexpr int32_t PARKING_SPOT = -500;

void freeBuffer(uint8_t*& buffer) {
  std::free(buffer);
  buffer = nullptr;
}

}  // namespace

size_t DesktopPet::pixelBufferBytes() const {
  return drawing.maxFramePixels > 0 ? static_cast<size_t>(drawing.maxFramePixels) * 8 : 0;
}

// Surfaces of a depth the merge serves: at another the pet draws nothing.
bool DesktopPet::hasSurfaces() const {
  return screenDC && drawing.frameDC && drawing.spriteDC && drawing.spriteBits &&
         drawing.backgroundBits && drawing.mirrorBits && spriteWidth > 0 && spriteHeight > 0 &&
         drawing.bytesPerPixel > 0;
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
  drawing.spriteBits = static_cast<uint8_t*>(std::malloc(bufferBytes));
  drawing.backgroundBits = static_cast<uint8_t*>(std::malloc(bufferBytes));
  drawing.mirrorBits = static_cast<uint8_t*>(std::malloc(bufferBytes));
}

// The window's picture and the sprite's, in screen pixels, each on the ground
// of the key colour: only the sprite's part is drawn again at each step.
void DesktopPet::makeMemorySurfaces() {
  const PixelRect shown = windowOnScreen();
  drawing.frameDC = madeByPet(CreateCompatibleDC(screenDC));
  drawing.spriteDC = madeByPet(CreateCompatibleDC(screenDC));
  drawing.frameBitmap = madeByPet(CreateCompatibleBitmap(screenDC, shown.width, shown.height));
  drawing.spriteBitmap = madeByPet(
      CreateCompatibleBitmap(screenDC, screenPixels(spriteWidth), screenPixels(spriteHeight)));
  SelectObject(drawing.frameDC, drawing.frameBitmap);
  SelectObject(drawing.spriteDC, drawing.spriteBitmap);
  for (HDC surface : {drawing.frameDC, drawing.spriteDC}) {
    SelectObject(surface, GetStockObject(DC_BRUSH));
    SetDCBrushColor(surface, drawing.shapes.key);
  }
  PatBlt(drawing.frameDC, 0, 0, shown.width, shown.height, PATCOPY);
}

void DesktopPet::settle() {
  allocateBuffers();

  currentFrame = &drawing.animations[slot::STAND];
  animation = slot::STAND;
  motionKind = motion::STANDS;

  // Without STAND's art there is nothing to size the pet by; its loader has
  // reported the broken art and the program is on its way out.
  const FrameNode* standing = drawing.animations[slot::STAND].next;
  if (!standing || !standing->bitmap) return;

  BITMAP info{};
  GetObjectW(standing->bitmap, sizeof info, &info);
  // The frames were scaled at load; the pet's rules count its own pixels.
  spriteWidth = info.bmWidth / drawing.factor;
  spriteHeight = info.bmHeight / drawing.factor;
  takeDepthFromFrames();
  if (!drawing.bytesPerPixel) {
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

  // The display context that holds the pet's palette is the one the surfaces
  // are made from; after a missing frame took it there is none yet.
  if (!screenDC) screenDC = madeByPet(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  // The shape comes before the first paint: a layered window shows nothing
  // until it has its key, and a box of picture would take the clicks.
  chooseWindowShape();
  makeMemorySurfaces();
  ++scale.busy;
  showPictureWith(insertAfter, SWP_NOOWNERZORDER);
  --scale.busy;
  applyPendingChange();

  if (!petSystem.setTimer(window, timerId, timerPeriod, nullptr)) {
    MessageBoxW(nullptr, TIMER_REFUSED_TEXT, PET_CAPTION, MB_OK);
  }
}

// The message loop's next look for messages takes the paint to the screen.
// Right after a move that dropped the window's bits, the paint message the
// system would send for them would only paint the same picture again.
void DesktopPet::paintWindow(PaintAfter after) {
  HDC windowDC = GetDC(window);
  const bool painted = paintPicture(windowDC);
  ReleaseDC(window, windowDC);
  if (painted && after == PaintAfter::MOVE) ValidateRect(window, nullptr);
}

// Whatever uncovered the window (a menu, a tooltip, another program's window)
// is repaired at once from the picture the pet holds. The window is answered
// even before the pet holds one, so that it stops asking.
void DesktopPet::answerPaint(HWND paintedWindow) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(paintedWindow, &paint);
  paintPicture(dc);
  EndPaint(paintedWindow, &paint);
}

bool DesktopPet::paintPicture(HDC target) {
  if (!hasSurfaces() || !picture.scale) return false;
  const PixelRect shown = windowOnScreen();
  return petSystem.paintWindow(target, 0, 0, shown.width, shown.height, drawing.frameDC, 0, 0,
                               SRCCOPY) != 0;
}

void DesktopPet::placeWindow() {
  const PixelRect shown = windowOnScreen();
  petSystem.setWindowPos(window, insertAfter, shown.left, shown.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  picture.x = x;
  picture.y = y;
}

// Hidden, the window covers no monitor: nothing of it is seen or clicked, and
// no monitor's scale reaches it while it waits.
void DesktopPet::hideWindow() {
  if (!window) return;
  petSystem.setWindowPos(window, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  flushToScreen();
  picture.hidden = 1;
}

// Back where the pet stands, with its picture, in one move.
void DesktopPet::showWindowAgain() {
  picture.hidden = 0;
  if (!hasSurfaces()) return;
  ++scale.busy;
  showPictureWith(nullptr, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOZORDER);
  --scale.busy;
  applyPendingChange();
}

// The picture drawn afresh and the window placed where the pet stands, with
// `after` and `flags` saying where it goes in the z-order and what else the
// move does.
void DesktopPet::showPictureWith(HWND after, UINT flags) {
  drawPicture();
  showShape();
  const PixelRect shown = windowOnScreen();
  petSystem.setWindowPos(window, after, shown.left, shown.top, shown.width, shown.height,
                         flags | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  picture.x = x;
  picture.y = y;
  paintWindow(PaintAfter::MOVE);
}

// Wine holds a window's move and painting back until the thread checks for
// messages; a check that waits for nothing and takes nothing lets them through.
void DesktopPet::flushToScreen() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

void DesktopPet::releaseDisplayContexts() {
  releaseContext(screenDC);
  releaseContext(drawing.frameDC);
  releaseContext(drawing.spriteDC);
}

void DesktopPet::releaseSurfaces() {
  releaseDisplayContexts();
  releaseMemorySurfaces();
}

// Every DC goes before its bitmap; the display context stays, holding the palette.
void DesktopPet::releaseMemorySurfaces() {
  releaseContext(drawing.frameDC);
  releaseContext(drawing.spriteDC);
  releaseObject(drawing.frameBitmap);
  releaseObject(drawing.spriteBitmap);
  freeBuffer(drawing.spriteBits);
  freeBuffer(drawing.backgroundBits);
  freeBuffer(drawing.mirrorBits);
}

// Hidden first, so that nothing of the pet is seen on its way off the screen.
void DesktopPet::parkWindow() {
  if (!window) return;
  hideWindow();
  petSystem.setWindowPos(window, HWND_BOTTOM, PARKING_SPOT, PARKING_SPOT, 64, 64,
                         SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}
