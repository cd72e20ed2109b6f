#include "render/merge_bits.h"

#include <cstdint>
#include <cstring>

namespace {

// At 4 bytes a pixel the fourth byte is not colour: it takes no part in the
// match and is never taken from the frame.
size_t colourBytes(size_t bytesPerPixel) {
  return bytesPerPixel == 4 ? 3 : bytesPerPixel;
}

// The key is the frame's first pixel; only the colour bytes are compared.
inline bool isKey(const uint8_t* pixel, const uint8_t* frame, size_t compared) {
  return std::memcmp(pixel, frame, compared) == 0;
}

// Every frame pixel that is not the key replaces the colour bytes of output
// pixel i of its row: frame pixel i, or width - 1 - i when mirrored. Key
// pixels leave the output as it is. The key is the frame's first pixel.
inline void layFrameOver(const uint8_t* frame, uint8_t* out, size_t width, size_t pixelCount,
                         size_t bytesPerPixel, bool mirrored) {
  const size_t compared = colourBytes(bytesPerPixel);
  for (size_t rowStart = 0; rowStart < pixelCount; rowStart += width) {
    for (size_t i = 0; i < width; ++i) {
      const size_t column = mirrored ? width - 1 - i : i;
      const uint8_t* source = frame + (rowStart + column) * bytesPerPixel;
      uint8_t* target = out + (rowStart + i) * bytesPerPixel;
      if (!isKey(source, frame, compared)) std::memcpy(target, source, compared);
    }
  }
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

// The runs of drawn pixels in one row, as output columns [left, left + width).
void drawnRunsOfRow(const uint8_t* row, const uint8_t* frame, int32_t width, size_t bytesPerPixel,
                    bool mirrored, std::vector<DrawnBlock>& runs, int32_t top) {
  const size_t compared = colourBytes(bytesPerPixel);
  runs.clear();
  int32_t runStart = -1;
  for (int32_t i = 0; i <= width; ++i) {
    bool drawn = false;
    if (i < width) {
      const int32_t column = mirrored ? width - 1 - i : i;
      drawn = !isKey(row + size_t(column) * bytesPerPixel, frame, compared);
    }
    if (drawn && runStart < 0) runStart = i;
    if (!drawn && runStart >= 0) {
      runs.push_back({runStart, top, i - runStart, 1});
      runStart = -1;
    }
  }
}

bool sameRuns(const std::vector<DrawnBlock>& a, const std::vector<DrawnBlock>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].left != b[i].left || a[i].width != b[i].width) return false;
  }
  return true;
}

}  // namespace

std::vector<DrawnBlock> drawnBlocks(const uint8_t* frame, size_t frameBytes, int32_t width,
                                    int32_t pixelCount, int32_t facing, int32_t bytesPerPixel) {
  std::vector<DrawnBlock> blocks;
  if (facing != FACING_AS_STORED && facing != FACING_MIRRORED) return blocks;
  if (!frame || !shapeValid(width, pixelCount, bytesPerPixel)) return blocks;
  if (!pictureFits(pixelCount, bytesPerPixel, frameBytes)) return blocks;
  const size_t depth = static_cast<size_t>(bytesPerPixel);
  const int32_t rows = pixelCount / width;
  std::vector<DrawnBlock> open;  // the band that reaches the row above
  std::vector<DrawnBlock> runs;
  for (int32_t r = 0; r < rows; ++r) {
    drawnRunsOfRow(frame + size_t(r) * size_t(width) * depth, frame, width, depth,
                   facing == FACING_MIRRORED, runs, r);
    if (!open.empty() && sameRuns(open, runs)) {
      for (DrawnBlock& block : open) ++block.height;
      continue;
    }
    blocks.insert(blocks.end(), open.begin(), open.end());
    open.swap(runs);
  }
  blocks.insert(blocks.end(), open.begin(), open.end());
  return blocks;
}

int32_t bytesForDepth(int32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 8: return 1;
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

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
  const size_t pixels = static_cast<size_t>(pixelCount);
  const size_t depth = static_cast<size_t>(bytesPerPixel);
  const bool mirrored = facing == FACING_MIRRORED;
  uint8_t* out = buffers.background;
  if (mirrored) {
    // The mirrored picture starts as the background, as the plain one does in
    // place; the frame then goes over it the same way in both facings.
    std::memcpy(buffers.mirror, buffers.background, pixels * depth);
    out = buffers.mirror;
  }
  // Each depth gets a loop of its own with the pixel size known, which the
  // compiler makes several times faster than one loop for every depth.
  const size_t columns = static_cast<size_t>(width);
  switch (depth) {
    case 1: layFrameOver(buffers.frame, out, columns, pixels, 1, mirrored); break;
    case 2: layFrameOver(buffers.frame, out, columns, pixels, 2, mirrored); break;
    case 3: layFrameOver(buffers.frame, out, columns, pixels, 3, mirrored); break;
    default: layFrameOver(buffers.frame, out, columns, pixels, 4, mirrored); break;
  }
  return out;
}

bool drawsColour(const uint8_t* frame, size_t frameBytes, int32_t pixelCount,
                 int32_t bytesPerPixel, const uint8_t* colour) {
  if (!frame || !colour || bytesPerPixel < 1 || bytesPerPixel > 4 || pixelCount <= 0) return false;
  if (!pictureFits(pixelCount, bytesPerPixel, frameBytes)) return false;
  const size_t depth = static_cast<size_t>(bytesPerPixel);
  const size_t compared = colourBytes(depth);
  for (size_t p = 0; p < static_cast<size_t>(pixelCount); ++p) {
    const uint8_t* pixel = frame + p * depth;
    if (!isKey(pixel, frame, compared) && std::memcmp(pixel, colour, compared) == 0) return true;
  }
  return false;
}
