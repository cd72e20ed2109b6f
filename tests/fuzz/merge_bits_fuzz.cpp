// Random shapes, depths, facings and capacities against heap buffers of exactly
// `capacity` bytes; a merge that is accepted must agree with a byte model.
#include "render/merge_bits.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void require(bool holds) {
  if (!holds) __builtin_trap();
}

struct Shape {
  int32_t width;
  int32_t pixelCount;
  int32_t facing;
  int32_t depth;
  size_t capacity;
};

// Mostly valid shapes, with edges past every limit now and then.
Shape readShape(const uint8_t* header) {
  Shape shape;
  shape.depth = header[0] % 6;      // 0 and 5 are refused
  shape.facing = header[1] % 4;     // 0 and 3 are refused
  shape.width = int8_t(header[2]);  // zero and negative widths too
  const int32_t height = header[3] % 40;
  const int32_t ragged = header[4] % 4 == 0 ? header[5] % 3 : 0;  // not a whole number of rows
  shape.pixelCount = header[4] == 0xFF ? INT32_MAX : shape.width * height + ragged;
  const int64_t depth = shape.depth > 0 ? shape.depth : 1;
  const int64_t wanted = shape.pixelCount > 0 ? int64_t(shape.pixelCount) * depth : 0;
  const int64_t slack = int64_t(header[6] % 9) - 4;  // a few bytes short or spare
  shape.capacity = wanted > (1 << 20) ? header[6] : size_t(wanted + slack > 0 ? wanted + slack : 0);
  return shape;
}

bool same(const uint8_t* a, const uint8_t* b, size_t n) {
  return n == 0 || std::memcmp(a, b, n) == 0;
}

bool accepted(const Shape& s) {
  return s.depth >= 1 && s.depth <= 4 && (s.facing == 1 || s.facing == 2) && s.width > 0 &&
         s.pixelCount > 0 && s.pixelCount % s.width == 0 &&
         size_t(s.pixelCount) * size_t(s.depth) <= s.capacity;
}

std::vector<uint8_t> expected(const Shape& s, const uint8_t* frame, const uint8_t* background) {
  std::vector<uint8_t> out(background, background + s.capacity);
  const int compared = s.depth == 4 ? 3 : s.depth;
  for (int32_t p = 0; p < s.pixelCount; ++p) {
    const int32_t row = p / s.width, column = p % s.width;
    const int32_t source = s.facing == 2 ? row * s.width + (s.width - 1 - column) : p;
    const uint8_t* pixel = frame + size_t(source) * size_t(s.depth);
    if (std::memcmp(pixel, frame, size_t(compared)) != 0) {
      std::memcpy(&out[size_t(p) * size_t(s.depth)], pixel, size_t(compared));
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t HEADER = 7;
  if (size < HEADER) return 0;
  const Shape shape = readShape(data);
  const uint8_t* fill = data + HEADER;
  const size_t fillBytes = size - HEADER;

  // new[] rather than vector so that a zero capacity still gives a distinct block.
  uint8_t* frame = new uint8_t[shape.capacity + (shape.capacity == 0)];
  uint8_t* background = new uint8_t[shape.capacity + (shape.capacity == 0)];
  uint8_t* mirror = new uint8_t[shape.capacity + (shape.capacity == 0)];
  for (size_t i = 0; i < shape.capacity; ++i) {
    // Few distinct frame values keep key pixels common.
    frame[i] = fillBytes == 0 ? 0 : uint8_t(fill[i % fillBytes] & 3);
    background[i] = uint8_t(i * 7);
    mirror[i] = 0xEE;
  }
  const std::vector<uint8_t> backgroundBefore(background, background + shape.capacity);
  const std::vector<uint8_t> mirrorBefore(mirror, mirror + shape.capacity);

  const MergeBuffers buffers{frame, background, mirror, shape.capacity};
  uint8_t* result = mergeKeyed(buffers, shape.width, shape.pixelCount, shape.facing, shape.depth);

  if (!accepted(shape)) {
    require(result == nullptr);
    require(same(background, backgroundBefore.data(), shape.capacity));
    require(same(mirror, mirrorBefore.data(), shape.capacity));
  } else {
    const bool mirrored = shape.facing == 2;
    require(result == (mirrored ? mirror : background));
    const std::vector<uint8_t> want = expected(shape, frame, backgroundBefore.data());
    const size_t n = size_t(shape.pixelCount) * size_t(shape.depth);
    require(same(result, want.data(), n));
    // The buffer not written to stays as it was, and so does everything past the picture.
    uint8_t* untouched = mirrored ? background : mirror;
    require(same(untouched, (mirrored ? backgroundBefore : mirrorBefore).data(), shape.capacity));
    require(same(result + n, (mirrored ? mirrorBefore : backgroundBefore).data() + n, shape.capacity - n));
  }
  delete[] frame;
  delete[] background;
  delete[] mirror;
  return 0;
}
