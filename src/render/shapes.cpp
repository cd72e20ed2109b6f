#include <algorithm>
#include <vector>

#include "pet/desktop_pet.h"
#include "render/merge_bits.h"

namespace {

// Colours whose every component is 0 or 255 reach every display depth
// unchanged, so the system's match of the key is exact.
constexpr COLORREF KEY_CANDIDATES[] = {
    RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 0),   RGB(255, 0, 0),
    RGB(0, 255, 0),   RGB(0, 0, 255),   RGB(255, 255, 255), RGB(0, 0, 0)};

// The bytes of `colour` in the display's own format; false when they cannot be read.
bool displayBytesOf(HDC screen, COLORREF colour, uint8_t bytes[4]) {
  HDC dc = madeByPet(CreateCompatibleDC(screen));
  HBITMAP pixel = madeByPet(CreateCompatibleBitmap(screen, 1, 1));
  const bool made = dc && pixel;
  if (made) {
    HGDIOBJ kept = SelectObject(dc, pixel);
    SetPixelV(dc, 0, 0, colour);
    SelectObject(dc, kept);
    GetBitmapBits(pixel, 4, bytes);
  }
  releaseObject(pixel);
  releaseContext(dc);
  return made;
}

// One region from the drawn blocks of a frame, moved by the margin into the
// window's own coordinates.
HRGN regionFromBlocks(const std::vector<DrawnBlock>& blocks, int32_t offset) {
  if (blocks.empty()) return madeByPet(CreateRectRgn(0, 0, 0, 0));
  const size_t rectBytes = blocks.size() * sizeof(RECT);
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rectBytes);
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(blocks.size());
  region->rdh.nRgnSize = static_cast<DWORD>(rectBytes);
  RECT bounds{blocks[0].left, blocks[0].top, blocks[0].left, blocks[0].top};
  auto* rects = reinterpret_cast<RECT*>(region->Buffer);
  for (size_t i = 0; i < blocks.size(); ++i) {
    const DrawnBlock& b = blocks[i];
    rects[i] = {b.left + offset, b.top + offset, b.left + b.width + offset,
                b.top + b.height + offset};
    bounds.left = std::min(bounds.left, rects[i].left);
    bounds.top = std::min(bounds.top, rects[i].top);
    bounds.right = std::max(bounds.right, rects[i].right);
    bounds.bottom = std::max(bounds.bottom, rects[i].bottom);
  }
  region->rdh.rcBound = bounds;
  return madeByPet(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region));
}

}  // namespace

// One decision, made once: a key the system can be trusted with, or regions.
// On a palette display Wine ignores the key and shows its colour around the pup.
void DesktopPet::chooseWindowShape() {
  if (shapeByKey()) return;
  shapeByRegions();
}

bool DesktopPet::shapeByKey() {
  releaseShapes();
  COLORREF key = 0;
  if (!chooseKey(&key) || !keyTheWindow(key)) return false;
  drawing.shapes.keyed = 1;
  drawing.shapes.key = key;
  return true;
}

// A window that is not layered shows its own picture; a region a frame.
void DesktopPet::shapeByRegions() {
  releaseShapes();
  unkeyTheWindow();
  drawing.shapes.keyed = 0;
  prepareShapes();
}

bool DesktopPet::chooseKey(COLORREF* key) {
  return drawing.bytesPerPixel >= 2 && freeKeyColour(key);
}

// A region would cut the keyed picture: the window gives up any it has.
bool DesktopPet::keyTheWindow(COLORREF key) {
  petSystem.setWindowRgn(window, nullptr, FALSE);
  drawing.shapes.shown = nullptr;
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
  return petSystem.setLayeredWindowAttributes(window, key, 255, LWA_COLORKEY) != 0;
}

void DesktopPet::unkeyTheWindow() {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
}

// The window takes the way of shaping that a set made at a new depth chose.
void DesktopPet::applyWindowShape() {
  if (drawing.shapes.keyed && keyTheWindow(drawing.shapes.key)) return;
  if (drawing.shapes.keyed) {
    drawing.shapes.keyed = 0;
    prepareShapes();
  }
  unkeyTheWindow();
  drawing.shapes.shown = nullptr;
}

// The first candidate that no drawn pixel of any frame has at the display's depth.
bool DesktopPet::freeKeyColour(COLORREF* key) {
  const int32_t pixelCount = screenPixels(spriteWidth) * screenPixels(spriteHeight);
  const size_t bytes = static_cast<size_t>(pixelCount) * static_cast<size_t>(drawing.bytesPerPixel);
  if (!screenDC || pixelCount <= 0 || bytes == 0 || bytes > pixelBufferBytes() ||
      !drawing.spriteBits) {
    return false;
  }
  const auto someFrameDraws = [&](const uint8_t* colour) {
    for (const AnimationList& head : drawing.animations) {
      for (const FrameNode* frame = head.next; frame; frame = frame->next) {
        if (!frame->bitmap) continue;
        GetBitmapBits(frame->bitmap, static_cast<LONG>(bytes), drawing.spriteBits);
        if (drawsColour(drawing.spriteBits, bytes, pixelCount, drawing.bytesPerPixel, colour)) {
          return true;
        }
      }
    }
    return false;
  };
  for (const COLORREF candidate : KEY_CANDIDATES) {
    uint8_t colour[4] = {};
    if (!displayBytesOf(screenDC, candidate, colour) || someFrameDraws(colour)) continue;
    *key = candidate;
    return true;
  }
  return false;
}

// The shapes come from the same bytes the merge reads, at the display's depth,
// so they hold exactly the pixels it draws.
void DesktopPet::prepareShapes() {
  if (!drawing.shapes.empty) drawing.shapes.empty = madeByPet(CreateRectRgn(0, 0, 0, 0));
  const int32_t width = screenPixels(spriteWidth);
  const int32_t pixelCount = width * screenPixels(spriteHeight);
  const size_t bytes = static_cast<size_t>(pixelCount) * static_cast<size_t>(drawing.bytesPerPixel);
  if (pixelCount <= 0 || bytes == 0 || bytes > pixelBufferBytes() || !drawing.spriteBits) return;
  for (const AnimationList& head : drawing.animations) {
    for (const FrameNode* frame = head.next; frame; frame = frame->next) {
      if (!frame->bitmap) continue;
      GetBitmapBits(frame->bitmap, static_cast<LONG>(bytes), drawing.spriteBits);
      WindowShapes::FrameShape shape{frame, nullptr, nullptr};
      shape.asStored = regionFromBlocks(drawnBlocks(drawing.spriteBits, bytes, width, pixelCount,
                                                    FACING_AS_STORED, drawing.bytesPerPixel),
                                        screenPixels(margin));
      shape.mirrored = regionFromBlocks(drawnBlocks(drawing.spriteBits, bytes, width, pixelCount,
                                                    FACING_MIRRORED, drawing.bytesPerPixel),
                                        screenPixels(margin));
      drawing.shapes.frames.push_back(shape);
    }
  }
}

HRGN DesktopPet::shapeOf(const FrameNode* frame, int32_t frameFacing) const {
  for (const WindowShapes::FrameShape& shape : drawing.shapes.frames) {
    if (shape.frame != frame) continue;
    if (frameFacing == FACING_AS_STORED) return shape.asStored;
    if (frameFacing == FACING_MIRRORED) return shape.mirrored;
  }
  return drawing.shapes.empty;
}

// The system frees a region it is given when it gets the next one, so the
// window gets a copy and the prepared shapes stay the pet's. A window that
// already has this shape is left alone: setting one costs as much as a move.
void DesktopPet::showShape() {
  if (drawing.shapes.keyed) return;
  const HRGN wanted = shapeOf(currentFrame, facing);
  if (!wanted || wanted == drawing.shapes.shown) return;
  HRGN copy = madeByPet(CreateRectRgn(0, 0, 0, 0));
  if (!copy) return;
  if (CombineRgn(copy, wanted, nullptr, RGN_COPY) == ERROR ||
      !petSystem.setWindowRgn(window, copy, FALSE)) {
    releaseObject(copy);
    return;
  }
  drawing.shapes.shown = wanted;
}

void DesktopPet::releaseShapes() {
  for (WindowShapes::FrameShape& shape : drawing.shapes.frames) {
    releaseObject(shape.asStored);
    releaseObject(shape.mirrored);
  }
  drawing.shapes.frames.clear();
  releaseObject(drawing.shapes.empty);
  drawing.shapes.shown = nullptr;
}
