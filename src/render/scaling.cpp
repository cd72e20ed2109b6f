#include <vector>

#include "assets/palette.h"
#include "pet/desktop_pet.h"
#include "render/pet_scale.h"

// On a scaled display the pet draws each of its pixels as a block of screen
// pixels: the frames are scaled once, when they are loaded, and everything made
// from them (the surfaces, the window's shapes) follows their size.

namespace {

// The monitor's DPI as the window sees it; before Windows 10 (1607) only the
// system's is known.
int32_t windowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (found && window) {
    const UINT dpi = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(found))(window);
    if (dpi) return static_cast<int32_t>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int32_t dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

ReadDpiFunction petReadDpi = windowDpi;

namespace {

// The size of the art, from STAND's first frame as stored.
bool artSize(HINSTANCE instance, int32_t* width, int32_t* height) {
  DWORD size = 0;
  const BYTE* bytes = bitmapResourceBytes(instance, "STAND1", &size);
  if (!bytes || size < sizeof(BITMAPINFOHEADER)) return false;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  *width = header->biWidth;
  *height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  return *width > 0 && *height > 0;
}

}  // namespace

// The scale of the monitor the window stands on, lowered where the sprite
// would take more than half of that monitor's work area.
int32_t DesktopPet::scaleForMonitorOf(int32_t dpi) const {
  int32_t width = 0;
  int32_t height = 0;
  if (!artSize(instance, &width, &height)) return 1;
  RECT placed{};
  GetWindowRect(window, &placed);
  PetArea area{};
  const PixelRect spot{placed.left, placed.top, placed.right - placed.left + 1,
                       placed.bottom - placed.top + 1};
  if (!petFindArea(spot, &area)) return 1;
  return scaleThatFits(scaleForDpi(dpi), area.work, width, height);
}

void DesktopPet::readScale() { scale.factor = scaleForMonitorOf(petReadDpi(window)); }

// A frame with each pixel made a block of screen pixels, in the same format;
// the frame as it was when it cannot be scaled.
HBITMAP DesktopPet::scaledFrame(HBITMAP frame) const {
  const int32_t s = scale.factor;
  BITMAP info{};
  if (s <= 1 || !GetObjectW(frame, sizeof info, &info)) return frame;
  const int32_t pixelBytes = bytesForDepth(info.bmBitsPixel);
  if (!pixelBytes || info.bmPlanes != 1 ||
      size_t(info.bmWidthBytes) != bitmapRowBytes(info.bmWidth, pixelBytes)) {
    return frame;
  }
  std::vector<uint8_t> stored(size_t(info.bmWidthBytes) * size_t(info.bmHeight));
  GetBitmapBits(frame, static_cast<LONG>(stored.size()), stored.data());
  std::vector<uint8_t> scaled(bitmapRowBytes(info.bmWidth * s, pixelBytes) *
                              size_t(info.bmHeight) * size_t(s));
  scaleWholePixels(stored.data(), info.bmWidth, info.bmHeight, pixelBytes, s, scaled.data());
  HBITMAP made = CreateBitmap(info.bmWidth * s, info.bmHeight * s, 1, info.bmBitsPixel,
                              scaled.data());
  if (!made) return frame;
  DeleteObject(frame);
  return made;
}

void DesktopPet::followScale(int32_t dpi) {
  // Held, the pet is not on the screen to be rebuilt; it takes the scale when it is back.
  if (heldBy) {
    scale.pendingDpi = dpi;
    return;
  }
  rescale(dpi);
}

// Frames, shapes and surfaces are made anew at the new scale. The point of the
// figure under the cursor stays under it, so a pet carried onto a monitor of
// another scale stays in the hand; otherwise its middle stays where it was.
void DesktopPet::rescale(int32_t dpi) {
  scale.pendingDpi = 0;
  const int32_t factor = scaleForMonitorOf(dpi);
  if (factor == scale.factor || !hasSurfaces()) return;

  const PixelRect before = spriteOnScreen();
  POINT anchor{before.left + before.width / 2, before.top + before.height / 2};
  POINT cursor{};
  if (petGetCursorPos(&cursor) && cursor.x >= before.left && cursor.y >= before.top &&
      cursor.x < before.left + before.width && cursor.y < before.top + before.height) {
    anchor = cursor;
  }
  int32_t framesIn = 0;
  for (const FrameNode* frame = &animations[animation]; frame && frame != currentFrame;
       frame = frame->next) {
    ++framesIn;
  }

  releaseShapes();
  releaseAnimations();
  releaseMemorySurfaces();
  const int32_t oldFactor = scale.factor;
  scale.factor = factor;
  maxFramePixels = 0;
  loadAnimations();
  currentFrame = &animations[animation];
  for (int32_t n = 0; n < framesIn && currentFrame->next; ++n) currentFrame = currentFrame->next;
  allocateBuffers();
  makeMemorySurfaces();
  if (!shapes.keyed) prepareShapes();

  const int64_t offsetX = int64_t(anchor.x - before.left) * factor / oldFactor;
  const int64_t offsetY = int64_t(anchor.y - before.top) * factor / oldFactor;
  x = petPixelsOf(int32_t(anchor.x - offsetX), factor);
  y = petPixelsOf(int32_t(anchor.y - offsetY), factor);
  findArea(spriteOnScreen(), &home);  // the same area, in pixels of the new size
  keepTargetOnScreen();
  const PixelRect shown = windowOnScreen();
  SetWindowPos(window, nullptr, 0, 0, shown.width, shown.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  picture.scale = 0;  // nothing drawn at the new size yet
  composeAndPaint();
}
