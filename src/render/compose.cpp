#include "pet/desktop_pet.h"

// The window has no transparency of its own: its picture is the screen beneath
// it with the sprite keyed over it. The capture is taken while the window still
// shows its previous picture, whose sprite is wiped out with the background
// saved one step earlier.
void DesktopPet::composeAndPaint() {
  if (!hasSurfaces()) return;  // a step before the pet has settled draws nothing
  const int32_t w = spriteWidth;
  const int32_t h = spriteHeight;
  const int32_t m = margin;
  const int32_t windowWidth = w + 2 * m;
  const int32_t windowHeight = h + 2 * m;

  captureScreen(scratchDC, x - m, y - m, windowWidth, windowHeight);
  BitBlt(scratchDC, m - velocityX, m - velocityY, w, h, backDC, 0, 0, SRCCOPY);
  BitBlt(backDC, 0, 0, w, h, scratchDC, m, m, SRCCOPY);
  BitBlt(frameDC, 0, 0, windowWidth, windowHeight, scratchDC, 0, 0, SRCCOPY);
  BitBlt(spriteDC, 0, 0, w, h, backDC, 0, 0, SRCCOPY);
  mergeSprite(spriteBitmap, currentFrame, w, w * h, facing, bytesPerPixel);
  BitBlt(frameDC, m, m, w, h, spriteDC, 0, 0, SRCCOPY);

  // Moving a window costs far more than the rest of the step, so a window that
  // already stands there is left alone; one that something else moved (a
  // display change, another program) is put back.
  if (!windowStandsAt(x - m, y - m)) {
    SetWindowPos(window, insertAfter, x - m, y - m, windowWidth, windowHeight,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  HDC windowDC = GetDC(window);
  BitBlt(windowDC, 0, 0, windowWidth, windowHeight, frameDC, 0, 0, SRCCOPY);
  ReleaseDC(window, windowDC);
  putOnScreenNow();
}

bool DesktopPet::windowStandsAt(int32_t left, int32_t top) const {
  RECT placed{};
  return GetWindowRect(window, &placed) && placed.left == left && placed.top == top;
}

// The next capture must find this step's picture on the screen, also when the
// next step follows at once (a press straight after a tick). Wine holds a
// window's move and painting back until the thread checks for messages; a
// check that waits for nothing and takes nothing lets them through.
void DesktopPet::putOnScreenNow() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
}
