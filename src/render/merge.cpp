#include "pet/desktop_pet.h"
#include "render/merge_bits.h"

void DesktopPet::mergeSprite(HBITMAP target, const FrameNode* frame, int32_t width,
                             int32_t pixelCount, int32_t frameFacing, int32_t pixelBytes) {
  // A list head or a missing frame has nothing to draw: the background stays.
  if (!target || !frame || !frame->bitmap) return;
  if (pixelBytes < 1 || pixelBytes > 4 || pixelCount <= 0) return;
  const size_t capacity = pixelBufferBytes();
  const size_t bytes = static_cast<size_t>(pixelCount) * static_cast<size_t>(pixelBytes);
  if (bytes > capacity || !drawing.spriteBits || !drawing.backgroundBits || !drawing.mirrorBits) {
    return;
  }

  GetBitmapBits(frame->bitmap, static_cast<LONG>(bytes), drawing.spriteBits);
  GetBitmapBits(target, static_cast<LONG>(bytes), drawing.backgroundBits);
  const MergeBuffers buffers{drawing.spriteBits, drawing.backgroundBits, drawing.mirrorBits,
                             capacity};
  if (const uint8_t* merged = mergeKeyed(buffers, width, pixelCount, frameFacing, pixelBytes)) {
    SetBitmapBits(target, static_cast<DWORD>(bytes), merged);
  }
}
