#pragma once
#include "art/bytes.h"
#include "art/canvas.h"

namespace art {

constexpr std::uint32_t kBitmapFileSize = 11580;
constexpr std::uint32_t kBitmapPixelOffset = 1078;

// Appends the BITMAPINFOHEADER for an image of the given size and depth.
void putInfoHeader(Bytes& out, int width, int storedHeight, int bitsPerPixel, std::uint32_t imageSize,
                   std::uint32_t pixelsPerMetre);
// Appends the 256-entry colour table (blue, green, red, 0).
void putColourTable(Bytes& out);

// A complete 8-bit .bmp file with the shared palette, bottom row first.
Bytes encodeFrameBitmap(const Canvas& frame);

}  // namespace art
