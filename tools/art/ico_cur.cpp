#include "art/ico_cur.h"

#include "art/bmp.h"

namespace art {
namespace {

constexpr std::uint16_t kOneBitCursorId = 2;
constexpr std::uint16_t kEightBitCursorId = 3;

bool isClear(const Canvas& image, int x, int y) { return image.at(x, y) == ink::Key; }

std::size_t rowBytes(int width, int bitsPerPixel) { return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4); }

// One bit per pixel, bottom row first, each row padded to four bytes.
void putBitRows(Bytes& out, const Canvas& image, bool (*bitAt)(const Canvas&, int, int)) {
  const std::size_t stride = rowBytes(image.width(), 1);
  for (int y = image.height() - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < image.width(); ++x) {
      if (bitAt(image, x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    append(out, row);
  }
}

// Transparent pixels keep colour 0 (black) in the XOR image so the screen shows through.
std::uint8_t xorIndex(const Canvas& image, int x, int y) { return isClear(image, x, y) ? ink::Black : image.at(x, y); }

bool isLight(const Canvas& image, int x, int y) { return !isClear(image, x, y) && isWhiteInMonochrome(image.at(x, y)); }

std::uint32_t maskedImageSize(const Canvas& image, int bitsPerPixel) {
  return static_cast<std::uint32_t>((rowBytes(image.width(), bitsPerPixel) + rowBytes(image.width(), 1)) *
                                    static_cast<std::size_t>(image.height()));
}

void putDirectoryEntry(Bytes& out, const Canvas& image, unsigned colourCount, unsigned planesOrX,
                       unsigned bitsOrY, std::size_t size, std::size_t offset) {
  putU8(out, static_cast<unsigned>(image.width()));
  putU8(out, static_cast<unsigned>(image.height()));
  putU8(out, colourCount);
  putU8(out, 0);
  putU16(out, planesOrX);
  putU16(out, bitsOrY);
  putU32(out, static_cast<std::uint32_t>(size));
  putU32(out, static_cast<std::uint32_t>(offset));
}

void putGroupEntry(Bytes& out, const Canvas& image, unsigned bitCount, std::size_t size, std::uint16_t id) {
  putU16(out, static_cast<unsigned>(image.width()));
  putU16(out, static_cast<unsigned>(image.height() * 2));
  putU16(out, 1);
  putU16(out, bitCount);
  putU32(out, static_cast<std::uint32_t>(size));
  putU16(out, id);
}

}  // namespace

bool isWhiteInMonochrome(std::uint8_t index) {
  const Rgb colour = palette()[index];
  return colour.r * 3 + colour.g * 6 + colour.b > 200 * 10;  // ice-blue paw pads turn black
}

Bytes encodeIconImage8(const Canvas& image) {
  Bytes out;
  putInfoHeader(out, image.width(), image.height() * 2, 8, maskedImageSize(image, 8), 0);
  putColourTable(out);
  const std::size_t padding = rowBytes(image.width(), 8) - static_cast<std::size_t>(image.width());
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) putU8(out, xorIndex(image, x, y));
    for (std::size_t i = 0; i < padding; ++i) putU8(out, 0);
  }
  putBitRows(out, image, isClear);
  return out;
}

Bytes encodeCursorImage1(const Canvas& image) {
  Bytes out;
  putInfoHeader(out, image.width(), image.height() * 2, 1, maskedImageSize(image, 1), 0);
  putU32(out, 0x00000000);  // black
  putU32(out, 0x00FFFFFF);  // white
  putBitRows(out, image, isLight);
  putBitRows(out, image, isClear);
  return out;
}

Bytes encodeIconFile(const Canvas& image) {
  const Bytes body = encodeIconImage8(image);
  Bytes out;
  putU16(out, 0);
  putU16(out, 1);  // icon
  putU16(out, 1);
  putDirectoryEntry(out, image, 0, 1, 8, body.size(), 6 + 16);
  append(out, body);
  return out;
}

CursorImages encodeCursor(const Canvas& image, HotSpot hotSpot) {
  const Bytes oneBit = encodeCursorImage1(image);
  const Bytes eightBit = encodeIconImage8(image);
  CursorImages result;
  for (Bytes* resource : {&result.oneBit, &result.eightBit}) {
    putU16(*resource, hotSpot.x);
    putU16(*resource, hotSpot.y);
  }
  append(result.oneBit, oneBit);
  append(result.eightBit, eightBit);

  putU16(result.group, 0);
  putU16(result.group, 2);  // cursor
  putU16(result.group, 2);
  putGroupEntry(result.group, image, 1, result.oneBit.size(), kOneBitCursorId);
  putGroupEntry(result.group, image, 8, result.eightBit.size(), kEightBitCursorId);

  // In a .cur file the directory carries the hot spot in place of planes and bit count.
  const std::size_t firstOffset = 6 + 2 * 16;
  putU16(result.file, 0);
  putU16(result.file, 2);
  putU16(result.file, 2);
  putDirectoryEntry(result.file, image, 2, hotSpot.x, hotSpot.y, oneBit.size(), firstOffset);
  putDirectoryEntry(result.file, image, 0, hotSpot.x, hotSpot.y, eightBit.size(), firstOffset + oneBit.size());
  append(result.file, oneBit);
  append(result.file, eightBit);
  return result;
}

}  // namespace art
