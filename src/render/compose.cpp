#include "pet/desktop_pet.h"

// The window's picture is the pup over the key colour: the system shows the
// desktop wherever the key is, so nothing of the screen is ever read. A step
// that shows what the window already shows paints nothing and moves nothing.
void DesktopPet::composeAndPaint() {
  // Nothing of a hidden or minimized pet is seen.
  if (!hasSurfaces() || picture.hidden || minimized()) return;
  const bool samePicture =
      picture.scale == drawing.factor && picture.frame == currentFrame && picture.facing == facing;
  const PixelRect shown = windowOnScreen();
  // A window that something else moved is put back.
  const bool inPlace = picture.scale == drawing.factor && picture.x == x && picture.y == y &&
                       windowStandsAt(shown.left, shown.top);
  if (samePicture && inPlace) return;

  if (!samePicture) {
    drawPicture();
    showShape();
  }
  // Moving a window costs far more than the rest of the step. The move drops
  // the window's bits, so that no frame of the old picture is seen at the new
  // spot (moved with its bits, a window partly off the screen showed them
  // misplaced under Wine), and the picture is painted once.
  if (!inPlace) placeWindow();
  paintWindow(inPlace ? PaintAfter::DRAWING : PaintAfter::MOVE);
}

// The sprite's ground is laid in the key colour each time, and the frame is
// keyed over it as stored or mirrored.
void DesktopPet::drawPicture() {
  const int32_t w = screenPixels(spriteWidth);
  const int32_t h = screenPixels(spriteHeight);
  const int32_t m = screenPixels(margin);
  PatBlt(drawing.spriteDC, 0, 0, w, h, PATCOPY);
  mergeSprite(drawing.spriteBitmap, currentFrame, w, w * h, facing, drawing.bytesPerPixel);
  BitBlt(drawing.frameDC, m, m, w, h, drawing.spriteDC, 0, 0, SRCCOPY);
  picture.frame = currentFrame;
  picture.facing = facing;
  picture.scale = drawing.factor;
}

bool DesktopPet::windowStandsAt(int32_t left, int32_t top) const {
  RECT placed{};
  return GetWindowRect(window, &placed) && placed.left == left && placed.top == top;
}
