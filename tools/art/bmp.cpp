#include "art/bmp.h"

namespace art {

void putInfoHeader(Bytes& out, int width, int storedHeight, int bitsPerPixel, std::uint32_t imageSize,
                   std::uint32_t pixelsPerMetre) {
  putU32(out, 40);
  putU32(out, static_cast<std::uint32_t>(width));
  putU32(out, static_cast<std::uint32_t>(storedHeight));
  putU16(out, 1);
  putU16(out, static_cast<unsigned>(bitsPerPixel));
  putU32(out, 0);
  putU32(out, imageSize);
  putU32(out, pixelsPerMetre);
  putU32(out, pixelsPerMetre);
  putU32(out, 0);
  putU32(out, 0);
}

void putColourTable(Bytes& out) {
  for (const Rgb& colour : palette()) {
    putU8(out, colour.b);
    putU8(out, colour.g);
    putU8(out, colour.r);
    putU8(out, 0);
  }
}

Bytes encodeFrameBitmap(const Canvas& frame) {
  Bytes out;
  out.reserve(kBitmapFileSize);
  putU8(out, 'B');
  putU8(out, 'M');
  putU32(out, kBitmapFileSize);
  putU32(out, 0);
  putU32(out, kBitmapPixelOffset);
  putInfoHeader(out, frame.width(), frame.height(), 8, 0, 2834);
  putColourTable(out);
  for (int y = frame.height() - 1; y >= 0; --y) {
    for (int x = 0; x < frame.width(); ++x) putU8(out, frame.at(x, y));
  }
  // The resource loader expects the pixel data padded to an even length.
  putU16(out, 0);
  return out;
}

}  // namespace art
