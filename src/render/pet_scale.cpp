#include "render/pet_scale.h"

#include <cstring>

int32_t scaleForDpi(int32_t dpi) {
  const int32_t scale = (dpi + STANDARD_DPI / 2) / STANDARD_DPI;
  return scale < 1 ? 1 : scale;
}

int32_t scaleThatFits(int32_t scale, const PixelRect& area, int32_t width, int32_t height) {
  while (scale > 1 && (int64_t(width) * scale * 2 > area.width ||
                       int64_t(height) * scale * 2 > area.height)) {
    --scale;
  }
  return scale < 1 ? 1 : scale;
}

int32_t petPixelsOf(int32_t screen, int32_t scale) {
  if (scale <= 1) return screen;
  const int32_t quotient = screen / scale;
  return (screen % scale != 0 && screen < 0) ? quotient - 1 : quotient;
}

PixelRect petPixelsOf(const PixelRect& area, int32_t scale) {
  const int32_t left = petPixelsOf(area.left, scale);
  const int32_t top = petPixelsOf(area.top, scale);
  const int32_t right = petPixelsOf(int32_t(int64_t(area.left) + area.width), scale);
  const int32_t bottom = petPixelsOf(int32_t(int64_t(area.top) + area.height), scale);
  return {left, top, right - left, bottom - top};
}

size_t bitmapRowBytes(int32_t width, int32_t bytesPerPixel) {
  const size_t bytes = size_t(width) * size_t(bytesPerPixel);
  return bytes + (bytes & 1);
}

void scaleWholePixels(const uint8_t* source, int32_t width, int32_t height,
                      int32_t bytesPerPixel, int32_t scale, uint8_t* target) {
  const size_t pixel = size_t(bytesPerPixel);
  const size_t sourceRow = bitmapRowBytes(width, bytesPerPixel);
  const size_t targetRow = bitmapRowBytes(width * scale, bytesPerPixel);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* first = target + size_t(y) * size_t(scale) * targetRow;
    std::memset(first, 0, targetRow);
    const uint8_t* from = source + size_t(y) * sourceRow;
    for (int32_t x = 0; x < width; ++x) {
      for (int32_t copy = 0; copy < scale; ++copy) {
        std::memcpy(first + (size_t(x) * size_t(scale) + size_t(copy)) * pixel,
                    from + size_t(x) * pixel, pixel);
      }
    }
    for (int32_t row = 1; row < scale; ++row) std::memcpy(first + size_t(row) * targetRow, first, targetRow);
  }
}
