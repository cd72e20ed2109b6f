#include <utility>
#include <vector>

#include "assets/palette.h"
#include "pet/desktop_pet.h"
#include "render/pet_scale.h"

// On a scaled display the pet draws each of its pixels as a block of screen
// pixels: the frames are scaled once, when they are loaded, and everything made
// from them (the surfaces, the window's shapes) follows their size. A change of
// the scale where the pet stands, or of the display's colour depth, makes a whole
// new set; the old one goes only once the new one is complete.

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

// The scale of the monitor that holds most of `onScreen`, lowered where the
// sprite would take more than half of that monitor's work area.
int32_t DesktopPet::scaleOfMonitorUnder(const PixelRect& onScreen) const {
  int32_t width = 0;
  int32_t height = 0;
  if (!artSize(instance, &width, &height)) return 1;
  PetArea area{};
  if (!homeAreaOf(onScreen, &area)) return 1;
  return scaleThatFits(scaleForDpi(petSystem.readDpi(onScreen)), area.work, width, height);
}

// The first spot lies on the primary monitor: the pet starts at its scale.
void DesktopPet::readScale() { drawing.factor = scaleOfMonitorUnder(PRIMARY_ORIGIN); }

// A frame with each pixel made a block of screen pixels, in the same format.
// The frame goes either way; null when it cannot be scaled.
HBITMAP DesktopPet::scaledFrame(HBITMAP frame) const {
  const int32_t s = drawing.factor;
  BITMAP info{};
  if (s <= 1) return frame;
  HBITMAP made = nullptr;
  const int32_t pixelBytes =
      GetObjectW(frame, sizeof info, &info) ? bytesForDepth(info.bmBitsPixel) : 0;
  if (pixelBytes && info.bmPlanes == 1 &&
      size_t(info.bmWidthBytes) == bitmapRowBytes(info.bmWidth, pixelBytes)) {
    std::vector<uint8_t> stored(size_t(info.bmWidthBytes) * size_t(info.bmHeight));
    GetBitmapBits(frame, static_cast<LONG>(stored.size()), stored.data());
    std::vector<uint8_t> scaled(bitmapRowBytes(info.bmWidth * s, pixelBytes) *
                                size_t(info.bmHeight) * size_t(s));
    scaleWholePixels(stored.data(), info.bmWidth, info.bmHeight, pixelBytes, s, scaled.data());
    made = madeByPet(CreateBitmap(info.bmWidth * s, info.bmHeight * s, 1, info.bmBitsPixel,
                                  scaled.data()));
  }
  releaseObject(frame);
  return made;
}

// The DPI the message names is that of the monitor the window's rectangle has
// entered; the pet takes the scale of the monitor where its sprite stands.
void DesktopPet::followScale() {
  scale.changePending = 1;
  applyPendingChange();
}

// Nothing is made anew in the middle of a step or of a move of the pet's own,
// nor while the pet is held: the change is followed once that is over.
void DesktopPet::applyPendingChange() {
  if (scale.changePending && !scale.busy && !heldBy) rescale();
}

// The point of the figure under the cursor stays under it, so a pet carried
// onto a monitor of another scale stays in the hand; otherwise its middle stays
// where it was. Where the new set cannot be made, the pet goes on as it was.
void DesktopPet::rescale() {
  scale.changePending = 0;
  if (!hasSurfaces()) return;
  const PixelRect before = spriteOnScreen();
  const int32_t factor = scaleOfMonitorUnder(before);
  const int32_t depth = screenDC ? GetDeviceCaps(screenDC, BITSPIXEL) : drawing.displayBitsPerPixel;
  if (factor == drawing.factor && depth == drawing.displayBitsPerPixel) return;

  POINT anchor{before.left + before.width / 2, before.top + before.height / 2};
  POINT cursor{};
  if (petSystem.getCursorPos(&cursor) && cursor.x >= before.left && cursor.y >= before.top &&
      cursor.x < before.left + before.width && cursor.y < before.top + before.height) {
    anchor = cursor;
  }
  const int64_t offsetX = int64_t(anchor.x - before.left) * factor / drawing.factor;
  const int64_t offsetY = int64_t(anchor.y - before.top) * factor / drawing.factor;
  const int32_t newX = petPixelsOf(int32_t(anchor.x - offsetX), factor);
  const int32_t newY = petPixelsOf(int32_t(anchor.y - offsetY), factor);
  // Grown or shrunk about a point of its own, the sprite may come to stand
  // mostly on the other monitor, which would ask for the old scale back at
  // once: straddling the seam so, it keeps the scale it has.
  PetArea there{};
  const PixelRect after{newX * factor, newY * factor, spriteWidth * factor, spriteHeight * factor};
  if (!homeAreaOf(before, &there) || !holdsHalfOrMore(there.monitor, after)) return;

  int32_t framesIn = 0;
  for (const FrameNode* frame = &drawing.animations[animation]; frame && frame != currentFrame;
       frame = frame->next) {
    ++framesIn;
  }
  ++scale.busy;
  if (remakeDrawing(factor, depth)) {
    currentFrame = &drawing.animations[animation];
    for (int32_t n = 0; n < framesIn && currentFrame->next; ++n) currentFrame = currentFrame->next;
    x = newX;
    y = newY;
    findArea(spriteOnScreen(), &home);  // the same area, in pixels of the new size
    keepTargetOnScreen();
    placeRemade();
  }
  --scale.busy;
  applyPendingChange();  // a change that came while this one was made
}

// The window takes its new size, place and picture in one move, so that no
// blank or old-shaped window is seen between them.
void DesktopPet::placeRemade() {
  const PixelRect shown = windowOnScreen();
  picture.scale = 0;
  if (picture.hidden) {
    petSystem.setWindowPos(window, nullptr, shown.left, shown.top, shown.width, shown.height,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    return;
  }
  showPictureWith(nullptr, SWP_NOZORDER);
}

// The new set is made in the record's own fields, by the operations that made
// the first one, with the old set put aside; then one of the two is given up.
bool DesktopPet::remakeDrawing(int32_t factor, int32_t depth) {
  DrawingSet old;
  std::swap(drawing, old);
  drawing.factor = factor;
  drawing.displayBitsPerPixel = depth;
  drawing.shapes.keyed = old.shapes.keyed;
  drawing.shapes.key = old.shapes.key;
  scale.rebuilding = 1;
  scale.incomplete = 0;
  loadAnimations();
  takeDepthFromFrames();
  allocateBuffers();
  // At another depth the key may be drawn by the pup, or not be trusted at all.
  if (depth != old.displayBitsPerPixel) drawing.shapes.keyed = chooseKey(&drawing.shapes.key);
  makeMemorySurfaces();
  if (!drawing.shapes.keyed) prepareShapes();
  scale.rebuilding = 0;

  // The set given up is released where it stands, in the record's fields.
  const bool complete = !scale.incomplete && drawingComplete();
  if (!complete) releaseDrawing();
  std::swap(drawing, old);
  if (!complete) return false;
  releaseDrawing();
  std::swap(drawing, old);
  if (depth != old.displayBitsPerPixel) applyWindowShape();
  return true;
}

void DesktopPet::releaseDrawing() {
  releaseShapes();
  releaseAnimations();
  releaseMemorySurfaces();
}

// Every frame of the table at the size of the scaled art, every surface and
// buffer, and the shapes where the window needs them.
bool DesktopPet::drawingComplete() const {
  int32_t width = 0;
  int32_t height = 0;
  if (!artSize(instance, &width, &height) || !drawing.bytesPerPixel) return false;
  size_t frames = 0;
  for (const AnimationEntry& entry : animationTable) {
    int32_t count = 0;
    for (const FrameNode* frame = drawing.animations[entry.slot].next; frame; frame = frame->next) {
      BITMAP info{};
      if (!frame->bitmap || !GetObjectW(frame->bitmap, sizeof info, &info) ||
          info.bmWidth != width * drawing.factor || info.bmHeight != height * drawing.factor) {
        return false;
      }
      ++count;
    }
    if (count != entry.frameCount) return false;
    frames += size_t(count);
  }
  if (!drawing.frameDC || !drawing.spriteDC || !drawing.frameBitmap || !drawing.spriteBitmap ||
      !drawing.spriteBits || !drawing.backgroundBits || !drawing.mirrorBits) {
    return false;
  }
  if (drawing.shapes.keyed) return true;
  if (!drawing.shapes.empty || drawing.shapes.frames.size() != frames) return false;
  for (const WindowShapes::FrameShape& shape : drawing.shapes.frames) {
    if (!shape.asStored || !shape.mirrored) return false;
  }
  return true;
}

// The frames are loaded in the display's format: their depth is the one every
// copy and merge of the set works in.
void DesktopPet::takeDepthFromFrames() {
  drawing.bytesPerPixel = 0;
  const FrameNode* standing = drawing.animations[slot::STAND].next;
  BITMAP info{};
  if (standing && standing->bitmap && GetObjectW(standing->bitmap, sizeof info, &info)) {
    drawing.bytesPerPixel = bytesForDepth(info.bmBitsPixel);
  }
}
