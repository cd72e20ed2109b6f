#include "render/merge_bits.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int32_t FACING_AS_STORED = 1;
constexpr int32_t FACING_MIRRORED = 2;

// A pixel held in an unsigned integer, so that comparing it with the key is one
// comparison. Loads and stores go through memcpy: the buffers promise no
// alignment.
template <int BYTES>
struct PixelWord;
template <> struct PixelWord<1> { using type = uint8_t; };
template <> struct PixelWord<2> { using type = uint16_t; };
template <> struct PixelWord<3> { using type = uint32_t; };
template <> struct PixelWord<4> { using type = uint32_t; };

template <int BYTES>
using Word = typename PixelWord<BYTES>::type;

template <int BYTES>
Word<BYTES> loadPixel(const uint8_t* p) {
  if constexpr (BYTES == 3) {
    return Word<3>(p[0]) | Word<3>(p[1]) << 8 | Word<3>(p[2]) << 16;
  } else {
    Word<BYTES> pixel;
    std::memcpy(&pixel, p, sizeof pixel);
    return pixel;
  }
}

template <int BYTES>
void storePixel(uint8_t* p, Word<BYTES> pixel) {
  if constexpr (BYTES == 3) {
    p[0] = uint8_t(pixel);
    p[1] = uint8_t(pixel >> 8);
    p[2] = uint8_t(pixel >> 16);
  } else {
    std::memcpy(p, &pixel, sizeof pixel);
  }
}

// The bits that carry colour. At 4 bytes a pixel the fourth byte is not colour:
// it takes no part in the match and always comes from the background. Built
// from bytes so that it is right whatever the machine's byte order.
template <int BYTES>
Word<BYTES> colourMask() {
  if constexpr (BYTES == 4) {
    const uint8_t bytes[4] = {0xFF, 0xFF, 0xFF, 0x00};
    Word<4> mask;
    std::memcpy(&mask, bytes, sizeof mask);
    return mask;
  } else {
    return Word<BYTES>(~Word<BYTES>(0));
  }
}

// Copies COUNT pixels into words; with REVERSED the last pixel comes first.
// Only for depths whose pixels fill their words exactly (see BLOCK).
template <int BYTES, bool REVERSED, size_t COUNT>
void loadPixels(const uint8_t* from, Word<BYTES> (&to)[COUNT]) {
  static_assert(sizeof(Word<BYTES>) == BYTES, "three-byte pixels are not merged in blocks");
  if constexpr (BYTES == 1 && REVERSED && COUNT % 8 == 0) {
    // A byte swap of eight one-byte pixels mirrors them, and it is much cheaper
    // than moving the bytes one at a time.
    for (size_t chunk = 0; chunk < COUNT; chunk += 8) {
      uint64_t eight;
      std::memcpy(&eight, from + COUNT - 8 - chunk, sizeof eight);
      eight = __builtin_bswap64(eight);
      std::memcpy(to + chunk, &eight, sizeof eight);
    }
  } else if constexpr (REVERSED) {
    for (size_t i = 0; i < COUNT; ++i) {
      to[i] = loadPixel<BYTES>(from + (REVERSED ? COUNT - 1 - i : i) * BYTES);
    }
  } else {
    std::memcpy(to, from, sizeof to);
  }
}

// The key lets the pixel under it show; any other source pixel replaces the
// colour bytes of the pixel under it.
template <int BYTES>
Word<BYTES> blendPixel(Word<BYTES> source, Word<BYTES> under, Word<BYTES> key) {
  const Word<BYTES> colour = colourMask<BYTES>();
  const bool isKey = ((source ^ key) & colour) == 0;
  return isKey ? under : Word<BYTES>((under & ~colour) | (source & colour));
}

// Merges COUNT pixels: output pixel i is source pixel i (or COUNT - 1 - i when
// REVERSED) blended over under pixel i. A block goes through local arrays: that
// way the compiler knows the buffers cannot overlap and turns the blend into
// vector instructions, and `out` may be the same memory as `under`.
template <int BYTES, bool REVERSED, size_t COUNT>
void blendPixels(const uint8_t* source, const uint8_t* under, uint8_t* out, Word<BYTES> key) {
  if constexpr (COUNT == 1) {
    storePixel<BYTES>(out, blendPixel<BYTES>(loadPixel<BYTES>(source), loadPixel<BYTES>(under), key));
  } else {
    Word<BYTES> sources[COUNT], unders[COUNT], results[COUNT];
    loadPixels<BYTES, REVERSED>(source, sources);
    loadPixels<BYTES, false>(under, unders);
    for (size_t i = 0; i < COUNT; ++i) {
      results[i] = blendPixel<BYTES>(sources[i], unders[i], key);
    }
    std::memcpy(out, results, sizeof results);
  }
}

// Pixels per block: a fixed count lets the compiler vectorise the blend.
// Three-byte pixels do not fit vector lanes, and packing them into words for
// nothing costs more than it saves, so they go one at a time.
template <int BYTES>
constexpr size_t BLOCK = BYTES == 3 ? 1 : 16;

// Every frame pixel that is not the key replaces the background pixel under it.
template <int BYTES>
void mergeAsStored(const uint8_t* frame, uint8_t* background, size_t pixelCount) {
  const Word<BYTES> key = loadPixel<BYTES>(frame);
  size_t pixel = 0;
  for (; pixel + BLOCK<BYTES> <= pixelCount; pixel += BLOCK<BYTES>) {
    const size_t at = pixel * BYTES;
    blendPixels<BYTES, false, BLOCK<BYTES>>(frame + at, background + at, background + at, key);
  }
  for (; pixel < pixelCount; ++pixel) {
    const size_t at = pixel * BYTES;
    blendPixels<BYTES, false, 1>(frame + at, background + at, background + at, key);
  }
}

// Row by row, output pixel i shows frame pixel (width - 1 - i) of the same row,
// or background pixel i where that frame pixel is the key.
template <int BYTES>
void mergeMirrored(const uint8_t* frame, const uint8_t* background, uint8_t* mirror, size_t width,
                   size_t pixelCount) {
  const Word<BYTES> key = loadPixel<BYTES>(frame);
  for (size_t rowStart = 0; rowStart < pixelCount; rowStart += width) {
    const uint8_t* frameRow = frame + rowStart * BYTES;
    size_t i = 0;
    for (; i + BLOCK<BYTES> <= width; i += BLOCK<BYTES>) {
      const size_t at = (rowStart + i) * BYTES;
      const uint8_t* sources = frameRow + (width - i - BLOCK<BYTES>) * BYTES;
      blendPixels<BYTES, true, BLOCK<BYTES>>(sources, background + at, mirror + at, key);
    }
    for (; i < width; ++i) {
      const size_t at = (rowStart + i) * BYTES;
      blendPixels<BYTES, true, 1>(frameRow + (width - 1 - i) * BYTES, background + at, mirror + at, key);
    }
  }
}

template <int BYTES>
uint8_t* mergeAtDepth(const MergeBuffers& buffers, size_t width, size_t pixelCount, int32_t facing) {
  if (facing == FACING_AS_STORED) {
    mergeAsStored<BYTES>(buffers.frame, buffers.background, pixelCount);
    return buffers.background;
  }
  mergeMirrored<BYTES>(buffers.frame, buffers.background, buffers.mirror, width, pixelCount);
  return buffers.mirror;
}

bool buffersPresent(const MergeBuffers& buffers) {
  return buffers.frame != nullptr && buffers.background != nullptr && buffers.mirror != nullptr;
}

bool shapeValid(int32_t width, int32_t pixelCount, int32_t bytesPerPixel) {
  return bytesPerPixel >= 1 && bytesPerPixel <= 4 && width > 0 && pixelCount > 0 &&
         pixelCount % width == 0;
}

// Whether the picture's bytes fit in the buffers; false too when their count
// would overflow size_t (possible where size_t has 32 bits).
bool pictureFits(int32_t pixelCount, int32_t bytesPerPixel, size_t capacity) {
  const size_t pixels = static_cast<size_t>(pixelCount);
  const size_t depth = static_cast<size_t>(bytesPerPixel);
  if (pixels > SIZE_MAX / depth) {
    return false;
  }
  return pixels * depth <= capacity;
}

}  // namespace

uint8_t* mergeKeyed(const MergeBuffers& buffers, int32_t width, int32_t pixelCount, int32_t facing,
                    int32_t bytesPerPixel) {
  if (facing != FACING_AS_STORED && facing != FACING_MIRRORED) {
    return nullptr;
  }
  if (!buffersPresent(buffers) || !shapeValid(width, pixelCount, bytesPerPixel)) {
    return nullptr;
  }
  if (!pictureFits(pixelCount, bytesPerPixel, buffers.capacity)) {
    return nullptr;
  }
  const size_t columns = static_cast<size_t>(width);
  const size_t pixels = static_cast<size_t>(pixelCount);
  switch (bytesPerPixel) {
    case 1: return mergeAtDepth<1>(buffers, columns, pixels, facing);
    case 2: return mergeAtDepth<2>(buffers, columns, pixels, facing);
    case 3: return mergeAtDepth<3>(buffers, columns, pixels, facing);
    default: return mergeAtDepth<4>(buffers, columns, pixels, facing);
  }
}
