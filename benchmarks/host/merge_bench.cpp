// The keyed merge on the pet's own frame size, next to a plain copy of the same
// bytes, at every display depth. The merge runs once per animation step.
#include "render/merge_bits.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int32_t FRAME_WIDTH = 100;
constexpr int32_t FRAME_HEIGHT = 105;
constexpr int32_t FRAME_PIXELS = FRAME_WIDTH * FRAME_HEIGHT;

struct Picture {
  std::vector<uint8_t> frame, background, mirror;
};

// Key colour all around, a figure (an ellipse of shaded pixels) in the middle,
// as a drawn frame looks.
Picture realisticPicture(int32_t depth) {
  const size_t n = size_t(FRAME_PIXELS) * size_t(depth);
  Picture picture{std::vector<uint8_t>(n), std::vector<uint8_t>(n), std::vector<uint8_t>(n)};
  const uint8_t key[4] = {0xFF, 0x00, 0xFF, 0x00};
  for (int32_t y = 0; y < FRAME_HEIGHT; ++y) {
    for (int32_t x = 0; x < FRAME_WIDTH; ++x) {
      const double dx = (x - 50) / 34.0, dy = (y - 58) / 40.0;
      const bool figure = dx * dx + dy * dy < 1.0;
      uint8_t* pixel = &picture.frame[size_t(y * FRAME_WIDTH + x) * size_t(depth)];
      for (int32_t b = 0; b < depth; ++b) {
        pixel[b] = figure ? uint8_t(40 + (x * 3 + y * 5 + b * 11) % 160) : key[b];
      }
    }
  }
  for (size_t i = 0; i < n; ++i) picture.background[i] = uint8_t(i * 13 + 7);
  return picture;
}

void keyedMerge(benchmark::State& state) {
  const auto depth = int32_t(state.range(0));
  const auto facing = int32_t(state.range(1));
  Picture picture = realisticPicture(depth);
  const MergeBuffers buffers{picture.frame.data(), picture.background.data(), picture.mirror.data(),
                             picture.frame.size()};
  for (auto _ : state) {
    benchmark::DoNotOptimize(mergeKeyed(buffers, FRAME_WIDTH, FRAME_PIXELS, facing, depth));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(picture.frame.size()));
}

void plainCopy(benchmark::State& state) {
  Picture picture = realisticPicture(int32_t(state.range(0)));
  for (auto _ : state) {
    std::memcpy(picture.mirror.data(), picture.frame.data(), picture.frame.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(picture.frame.size()));
}

}  // namespace

BENCHMARK(keyedMerge)->ArgNames({"depth", "facing"})->ArgsProduct({{1, 2, 3, 4}, {1, 2}});
BENCHMARK(plainCopy)->ArgName("depth")->DenseRange(1, 4);

BENCHMARK_MAIN();
