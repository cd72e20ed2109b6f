#include <cstdio>

#include "assets/palette.h"
#include "pet/desktop_pet.h"

namespace {
const wchar_t* const MISSING_FRAME_TEXT = L"資料有問題,請重新下載";
const wchar_t* const MISSING_FRAME_CAPTION = L".....";
}  // namespace

// Every slot of the animation table, in its order. At start a frame that could
// not be scaled (the system out of bitmaps) would be drawn at the wrong size:
// the pet starts at its own size then.
void DesktopPet::loadAnimations() {
  scale.incomplete = 0;
  loadEveryAnimation();
  if (scale.rebuilding || !scale.incomplete || drawing.factor == 1) return;
  releaseAnimations();
  drawing.maxFramePixels = 0;
  drawing.factor = 1;
  scale.incomplete = 0;
  loadEveryAnimation();
}

void DesktopPet::loadEveryAnimation() {
  for (const AnimationEntry& entry : animationTable) {
    loadAnimation(entry.name, entry.frameCount, entry.slot, entry.motionKind);
  }
}

void DesktopPet::loadAnimation(const char* name, int32_t frameCount, int32_t slotIndex,
                               int32_t kind) {
  if (slotIndex < 0 || slotIndex >= slot::COUNT) return;
  motionKinds[slotIndex] = kind;
  AnimationList& head = drawing.animations[slotIndex];
  if (frameCount <= 0) {
    head.previous = &head;
    return;
  }

  FrameNode* appendPoint = &head;
  for (int32_t n = 1; n <= frameCount; ++n) {
    auto* node = new FrameNode{};
    node->previous = n == 1 ? nullptr : appendPoint;
    node->next = appendPoint->next;
    appendPoint->next = node;
    appendPoint = node;

    char resourceName[64];
    std::snprintf(resourceName, sizeof resourceName, "%s%d", name, n);
    node->bitmap = madeByPet(LoadBitmapA(instance, resourceName));
    if (!node->bitmap && !scale.rebuilding) {
      reportMissingFrame(head);
      appendPoint = &head;
      continue;
    }
    if (node->bitmap && drawing.displayBitsPerPixel == 8) {
      drawFrameThroughPalette(node->bitmap, resourceName);
    }
    if (node->bitmap) node->bitmap = scaledFrame(node->bitmap);
    // A frame that cannot be scaled, or one missing while a new set is made,
    // leaves the set incomplete: it is given up whole, and nothing is reported.
    if (!node->bitmap) {
      scale.incomplete = 1;
      continue;
    }
    BITMAP info{};
    GetObjectW(node->bitmap, sizeof info, &info);
    const int32_t pixels = info.bmWidth * info.bmHeight * info.bmPlanes;
    if (pixels > drawing.maxFramePixels) drawing.maxFramePixels = pixels;
  }
  head.previous = appendPoint;
}

// On a palette display LoadBitmap maps the art to the system's default colours;
// drawing the resource's own pixels again through the pet's realised palette
// keeps its colours and keeps the key colour distinct.
void DesktopPet::drawFrameThroughPalette(HBITMAP bitmap, const char* resourceName) {
  if (!screenDC) return;  // gone after a missing frame: keep LoadBitmap's colours
  DWORD size = 0;
  const BYTE* bytes = bitmapResourceBytes(instance, resourceName, &size);
  if (!bytes || size < sizeof(BITMAPINFOHEADER)) return;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  const int32_t count = colourCount(*header);
  const size_t pixelOffset = header->biSize + 4 * static_cast<size_t>(count < 0 ? 0 : count);
  const size_t rowBytes = ((static_cast<size_t>(header->biWidth) * header->biBitCount + 31) / 32) * 4;
  if (header->biWidth <= 0 || header->biHeight <= 0 ||
      pixelOffset + rowBytes * header->biHeight > size) {
    return;
  }

  HDC dc = madeByPet(CreateCompatibleDC(screenDC));
  // The frame would keep the system's colours: a set made anew is given up.
  if (!dc) {
    scale.incomplete = 1;
    return;
  }
  HGDIOBJ kept = SelectObject(dc, bitmap);
  SetSystemPaletteUse(dc, SYSPAL_NOSTATIC);
  SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  SetSystemPaletteUse(dc, SYSPAL_STATIC);
  SetDIBitsToDevice(dc, 0, 0, header->biWidth, header->biHeight, 0, 0, 0, header->biHeight,
                    bytes + pixelOffset, reinterpret_cast<const BITMAPINFO*>(header),
                    DIB_RGB_COLORS);
  SelectObject(dc, kept);
  releaseContext(dc);
}

void DesktopPet::releaseFrames(AnimationList& head) {
  FrameNode* node = head.next;
  while (node) {
    FrameNode* following = node->next;
    releaseObject(node->bitmap);
    if (currentFrame == node) currentFrame = nullptr;
    delete node;
    node = following;
  }
  head.next = nullptr;
  head.previous = nullptr;
}

// A frame is missing: the art is broken, so the whole animation goes, the user
// is told, and the program ends once start-up reaches its message loop.
void DesktopPet::reportMissingFrame(AnimationList& head) {
  releaseFrames(head);
  // The palette it displaced goes with the display context: the teardown has
  // nothing to put back.
  releaseDisplayContexts();
  previousPalette = nullptr;
  MessageBoxW(GetDesktopWindow(), MISSING_FRAME_TEXT, MISSING_FRAME_CAPTION, MB_OK);
  SendMessageW(window, WM_DESTROY, 0, 0);
}

void DesktopPet::releaseAnimations() {
  for (AnimationList& head : drawing.animations) releaseFrames(head);
}
