#pragma once
#include "art/bytes.h"

namespace art {

struct RgbImage {
  int width = 0;
  int height = 0;
  Bytes rgb;  // three bytes a pixel, top row first
};

Bytes deflateCompress(const Bytes& data);  // zlib stream
std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t adler32(const Bytes& data);
Bytes encodePng(const RgbImage& image);

}  // namespace art
