#pragma once
#include "art/bytes.h"
#include "art/canvas.h"

namespace art {

struct HotSpot {
  unsigned x;
  unsigned y;
};

// Whether a palette colour becomes white (rather than black) in the monochrome cursor.
bool isWhiteInMonochrome(std::uint8_t index);

// Icon and cursor image bodies: BITMAPINFOHEADER, colour table, XOR pixels,
// then the AND mask, which is set wherever the canvas holds the key colour.
Bytes encodeIconImage8(const Canvas& image);
Bytes encodeCursorImage1(const Canvas& image);

Bytes encodeIconFile(const Canvas& image);

struct CursorImages {
  Bytes oneBit;    // RT_CURSOR bodies, hot spot first
  Bytes eightBit;
  Bytes group;     // RT_GROUP_CURSOR body naming ids 2 and 3
  Bytes file;      // the same two images as a .cur file
};

CursorImages encodeCursor(const Canvas& image, HotSpot hotSpot);

}  // namespace art
