#include "pet/desktop_pet.h"

// The window has no transparency of its own: its picture is the screen beneath
// it with the sprite keyed over it. The capture is taken while the window still
// shows its previous picture, whose sprite is wiped out with the background
// saved when that picture was made.
void DesktopPet::composeAndPaint() {
  if (!hasSurfaces()) return;  // a step before the pet has settled draws nothing
  // The pictures are in screen pixels.
  const int32_t w = screenPixels(spriteWidth);
  const int32_t h = screenPixels(spriteHeight);
  const int32_t m = screenPixels(margin);
  const PixelRect shown = windowOnScreen();

  const bool inPlace = !windowAside && standsWherePainted();
  if (windowAside) {
    // Nothing of the pet is on the screen: what lies there now is all there is.
    if (!captureScreen(scratchDC, shown.left, shown.top, shown.width, shown.height)) return;
  } else if (!inPlace) {
    // A screen that cannot be read (locked, a UAC prompt) must not be saved as
    // the desktop: this step changes nothing and the next one tries again.
    if (!captureScreen(scratchDC, shown.left, shown.top, shown.width, shown.height)) return;
    BitBlt(scratchDC, m + screenPixels(paintedX - x), m + screenPixels(paintedY - y), w, h, backDC,
           0, 0, SRCCOPY);
  }
  // A pet standing where its window shows it reads nothing: the capture would
  // give back its own picture and the erase the background it holds, and a
  // tooltip lying over it would end up in its picture.
  BitBlt(backDC, 0, 0, w, h, scratchDC, m, m, SRCCOPY);
  BitBlt(frameDC, 0, 0, shown.width, shown.height, scratchDC, 0, 0, SRCCOPY);
  BitBlt(spriteDC, 0, 0, w, h, backDC, 0, 0, SRCCOPY);
  mergeSprite(spriteBitmap, currentFrame, w, w * h, facing, bytesPerPixel);
  BitBlt(frameDC, m, m, w, h, spriteDC, 0, 0, SRCCOPY);

  // Moving a window costs far more than the rest of the step, so a window that
  // already stands there is left alone; one that something else moved is put back.
  showShape();
  if (!inPlace) placeWindow();
  paintWindow();
  paintedX = x;
  paintedY = y;
}

bool DesktopPet::standsWherePainted() const {
  const PixelRect shown = windowOnScreen();
  return x == paintedX && y == paintedY && windowStandsAt(shown.left, shown.top);
}

bool DesktopPet::windowStandsAt(int32_t left, int32_t top) const {
  RECT placed{};
  return GetWindowRect(window, &placed) && placed.left == left && placed.top == top;
}
