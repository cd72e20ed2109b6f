#include "render/merge_bits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

uint8_t* merge(const Bytes& frame, Bytes& background, Bytes& mirror, int32_t width, int32_t facing,
               int32_t depth) {
  const MergeBuffers buffers{frame.data(), background.data(), mirror.data(), frame.size()};
  return mergeKeyed(buffers, width, int32_t(frame.size()) / depth, facing, depth);
}

// A byte-by-byte model of the merge, written independently of the fast loops.
Bytes expectedPicture(const Bytes& frame, const Bytes& background, int width, bool mirrored, int depth) {
  const int compared = depth == 4 ? 3 : depth;
  const int rows = int(frame.size()) / depth / width;
  Bytes out = background;
  for (int r = 0; r < rows; ++r) {
    for (int i = 0; i < width; ++i) {
      const size_t to = size_t(r * width + i) * depth;
      const size_t from = size_t(r * width + (mirrored ? width - 1 - i : i)) * depth;
      bool isKey = true;
      for (int b = 0; b < compared; ++b) isKey = isKey && frame[from + b] == frame[b];
      for (int b = 0; b < compared && !isKey; ++b) out[to + b] = frame[from + b];
    }
  }
  return out;
}

TEST(MergeKeyed, WorkedExamplesAtOneBytePerPixel) {
  const uint8_t K = 9, A = 1, B = 2, C = 3, P = 10, Q = 11, R = 12, S = 13;
  Bytes frame{K, A, B}, background{P, Q, R}, mirror(3);
  EXPECT_EQ(merge(frame, background, mirror, 3, 2, 1), mirror.data());
  EXPECT_EQ(mirror, (Bytes{B, A, R}));
  EXPECT_EQ(background, (Bytes{P, Q, R}));
  EXPECT_EQ(merge(frame, background, mirror, 3, 1, 1), background.data());
  EXPECT_EQ(background, (Bytes{P, A, B}));

  Bytes square{K, A, C, K}, under{P, Q, R, S}, mirrored(4);
  merge(square, under, mirrored, 2, 2, 1);
  EXPECT_EQ(mirrored, (Bytes{A, Q, R, C}));
}

TEST(MergeKeyed, WholePixelCopiedWhenAnyColourByteDiffers) {
  for (int depth = 2; depth <= 3; ++depth) {
    for (int differing = 0; differing < depth; ++differing) {
      Bytes frame(size_t(2 * depth), 7), background(frame.size(), 50), mirror(frame.size());
      frame[size_t(depth + differing)] = 8;
      merge(frame, background, mirror, 2, 1, depth);
      Bytes expected(background.size(), 50);
      for (int b = 0; b < depth; ++b) expected[size_t(depth + b)] = frame[size_t(depth + b)];
      EXPECT_EQ(background, expected) << "depth " << depth << " byte " << differing;
    }
  }
}

TEST(MergeKeyed, FourthByteIsNeitherComparedNorTakenFromTheFrame) {
  const Bytes frame{1, 2, 3, 4, 1, 2, 3, 99, 5, 6, 7, 88};
  const Bytes original{10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33};
  Bytes background = original, mirror(12, 0xEE);
  merge(frame, background, mirror, 3, 2, 4);
  EXPECT_EQ(mirror, (Bytes{5, 6, 7, 13, 20, 21, 22, 23, 30, 31, 32, 33}));
  merge(frame, background, mirror, 3, 1, 4);
  EXPECT_EQ(background, (Bytes{10, 11, 12, 13, 20, 21, 22, 23, 5, 6, 7, 33}));
}

TEST(MergeKeyed, FrameOfOnlyKeyShowsTheBackgroundInBothFacings) {
  for (int depth = 1; depth <= 4; ++depth) {
    const Bytes frame(size_t(12 * depth), 0x5A);
    Bytes background(frame.size()), mirror(frame.size());
    for (size_t i = 0; i < background.size(); ++i) background[i] = uint8_t(i);
    const Bytes original = background;
    merge(frame, background, mirror, 4, 2, depth);
    EXPECT_EQ(mirror, original);
    merge(frame, background, mirror, 4, 1, depth);
    EXPECT_EQ(background, original);
  }
}

TEST(MergeKeyed, MatchesByteModelOnRandomPicturesAtEveryDepthAndFacing) {
  std::mt19937 random(20240611u);
  for (int depth = 1; depth <= 4; ++depth) {
    for (int width : {1, 2, 7, 100}) {
      for (int facing = 1; facing <= 2; ++facing) {
        const size_t n = size_t(width * 5 * depth);
        Bytes frame(n), background(n), mirror(n);
        // Few byte values, so that key pixels and near-key pixels are common.
        for (auto& b : frame) b = uint8_t(random() % 3);
        for (auto& b : background) b = uint8_t(random());
        const Bytes expected = expectedPicture(frame, background, width, facing == 2, depth);
        uint8_t* result = merge(frame, background, mirror, width, facing, depth);
        const Bytes got(result, result + n);
        EXPECT_EQ(got, expected) << "depth " << depth << " width " << width << " facing " << facing;
      }
    }
  }
}

TEST(MergeKeyed, KeyIsTakenFromEachCallsFrame) {
  Bytes frame{1, 2, 1}, background{7, 7, 7}, mirror(3);
  merge(frame, background, mirror, 3, 1, 1);
  EXPECT_EQ(background, (Bytes{7, 2, 7}));
  frame = {2, 2, 1};
  merge(frame, background, mirror, 3, 1, 1);
  EXPECT_EQ(background, (Bytes{7, 2, 1}));
}

TEST(MergeKeyed, RefusesUnusableInputsAndTouchesNothing) {
  const Bytes frame{1, 2, 3, 4, 5, 6, 7, 8};
  Bytes background(8, 0xAA), mirror(8, 0xBB);
  const MergeBuffers good{frame.data(), background.data(), mirror.data(), 8};
  struct Case { MergeBuffers buffers; int32_t width, pixels, facing, depth; };
  const Case refused[] = {
      {good, 2, 4, 0, 2},          {good, 2, 4, 3, 2},          {good, 2, 8, 1, 0},
      {good, 2, 2, 1, 5},          {good, 0, 4, 1, 2},          {good, -2, 4, 2, 2},
      {good, 2, 0, 1, 2},          {good, 2, -4, 2, 2},         {good, 3, 4, 1, 2},
      {good, 3, 3, 2, 3},          {good, 1, INT32_MAX, 1, 4},  {good, 1, INT32_MAX, 2, 1},
      {{nullptr, background.data(), mirror.data(), 8}, 2, 4, 1, 2},
      {{frame.data(), nullptr, mirror.data(), 8}, 2, 4, 1, 2},
      {{frame.data(), background.data(), nullptr, 8}, 2, 4, 2, 2},
      {{frame.data(), background.data(), mirror.data(), 7}, 2, 4, 1, 2},
      {{frame.data(), background.data(), mirror.data(), 0}, 1, 1, 2, 1},
  };
  for (const Case& c : refused) {
    EXPECT_EQ(mergeKeyed(c.buffers, c.width, c.pixels, c.facing, c.depth), nullptr)
        << c.width << " " << c.pixels << " " << c.facing << " " << c.depth;
  }
  EXPECT_EQ(background, Bytes(8, 0xAA));
  EXPECT_EQ(mirror, Bytes(8, 0xBB));
}

TEST(MergeKeyed, StaysInsideExactlySizedBuffers) {
  // Heap buffers of exactly n bytes, or of more than n: AddressSanitizer
  // reports any step past the end, and the spare pixel must stay untouched.
  for (int depth = 1; depth <= 4; ++depth) {
    for (int facing = 1; facing <= 2; ++facing) {
      Bytes frame(size_t(6 * depth), 4);
      frame[0] = 3;
      Bytes background(frame.size(), 0), mirror(frame.size(), 1);
      const MergeBuffers buffers{frame.data(), background.data(), mirror.data(), frame.size()};
      EXPECT_NE(mergeKeyed(buffers, 1, 5, facing, depth), nullptr);
      EXPECT_EQ(background.back(), 0) << "depth " << depth << " facing " << facing;
      EXPECT_EQ(mirror.back(), 1) << "depth " << depth << " facing " << facing;
      EXPECT_NE(merge(frame, background, mirror, 6, facing, depth), nullptr);
    }
  }
}

// The blocks must cover exactly the pixels the merge writes over a background
// of a colour the frame lacks, without overlapping, in bands from the top.
TEST(DrawnBlocks, CoverExactlyWhatTheMergeDrawsAtEveryDepthAndFacing) {
  std::mt19937 random(77);
  for (int depth = 1; depth <= 4; ++depth) {
    for (int facing = 1; facing <= 2; ++facing) {
      const int width = 9, rows = 7;
      Bytes frame(size_t(width * rows * depth));
      for (uint8_t& byte : frame) byte = uint8_t(random() % 3);  // many pixels match the key
      for (int r = 3; r < 6; ++r) {  // a few equal rows, to be joined
        std::copy_n(frame.begin() + 2 * width * depth, width * depth, frame.begin() + r * width * depth);
      }
      Bytes background(frame.size(), 200), mirror(frame.size());
      const uint8_t* merged = merge(frame, background, mirror, width, facing, depth);
      ASSERT_NE(merged, nullptr);

      std::vector<int> covered(size_t(width * rows), 0);
      int lastTop = -1, lastRight = 0;
      for (const DrawnBlock& b : drawnBlocks(frame.data(), frame.size(), width, width * rows, facing, depth)) {
        ASSERT_GE(b.top, lastTop);
        if (b.top == lastTop) EXPECT_GT(b.left, lastRight) << "runs of a band are apart and in order";
        lastTop = b.top;
        lastRight = b.left + b.width;
        for (int y = b.top; y < b.top + b.height; ++y) {
          for (int x = b.left; x < b.left + b.width; ++x) ++covered[size_t(y * width + x)];
        }
      }
      for (int p = 0; p < width * rows; ++p) {
        const bool drawn = merged[p * depth] != 200;
        EXPECT_EQ(covered[size_t(p)], drawn ? 1 : 0) << "pixel " << p << " depth " << depth << " facing " << facing;
      }
    }
  }
}

TEST(DrawnBlocks, JoinEqualRowsAndMirrorWithinEachRow) {
  const uint8_t K = 9, A = 1;
  // Rows: (K A A K), (K A A K), (A K K K); the last two rows of the mirrored shape differ.
  const Bytes frame{K, A, A, K, K, A, A, K, A, K, K, K};
  const auto plain = drawnBlocks(frame.data(), frame.size(), 4, 12, FACING_AS_STORED, 1);
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ((std::vector<int>{plain[0].left, plain[0].top, plain[0].width, plain[0].height}),
            (std::vector<int>{1, 0, 2, 2}));
  EXPECT_EQ((std::vector<int>{plain[1].left, plain[1].top, plain[1].width, plain[1].height}),
            (std::vector<int>{0, 2, 1, 1}));
  const auto mirrored = drawnBlocks(frame.data(), frame.size(), 4, 12, FACING_MIRRORED, 1);
  ASSERT_EQ(mirrored.size(), 2u);
  EXPECT_EQ(mirrored[1].left, 3);
  EXPECT_TRUE(drawnBlocks(frame.data(), frame.size() - 1, 4, 12, FACING_AS_STORED, 1).empty())
      << "a frame shorter than its shape is not read";
  const Bytes onlyKey(12, K);
  EXPECT_TRUE(drawnBlocks(onlyKey.data(), onlyKey.size(), 4, 12, FACING_MIRRORED, 1).empty());
}

}  // namespace
