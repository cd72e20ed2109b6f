#include "render/pet_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PetScale, WholeNumbersOfTheMonitorsScaleHalvesUp) {
  const struct { int32_t dpi, scale; } cases[] = {
      {0, 1}, {96, 1}, {120, 1}, {143, 1}, {144, 2}, {192, 2}, {239, 2}, {240, 3}, {288, 3}, {336, 4}};
  for (const auto& c : cases) EXPECT_EQ(scaleForDpi(c.dpi), c.scale) << "dpi " << c.dpi;
}

TEST(PetScale, LoweredUntilTheSpriteTakesAtMostHalfTheWorkArea) {
  EXPECT_EQ(scaleThatFits(3, {0, 0, 1024, 768}, 100, 105), 3);  // 300 x 315 of 512 x 384
  EXPECT_EQ(scaleThatFits(4, {0, 0, 1024, 768}, 100, 105), 3);  // 420 is taller than 384
  EXPECT_EQ(scaleThatFits(2, {-1024, 0, 399, 2000}, 100, 105), 1) << "too narrow for two";
  EXPECT_EQ(scaleThatFits(2, {0, 0, 100, 100}, 100, 105), 1) << "never below 1";
}

TEST(PetScale, ScreenCoordinatesRoundTowardMinusInfinity) {
  EXPECT_EQ(petPixelsOf(5, 2), 2);
  EXPECT_EQ(petPixelsOf(-1, 2), -1);
  EXPECT_EQ(petPixelsOf(-2, 2), -1);
  EXPECT_EQ(petPixelsOf(-3, 2), -2);
  EXPECT_EQ(petPixelsOf(-7, 1), -7);
  const PixelRect left = petPixelsOf(PixelRect{-1025, -3, 1024, 771}, 2);
  EXPECT_EQ(left.left, -513);
  EXPECT_EQ(left.top, -2);
  EXPECT_EQ(left.width, 512);   // right edge -1 becomes -1
  EXPECT_EQ(left.height, 386);  // bottom edge 768 becomes 384
}

TEST(PetScale, EveryPixelBecomesABlockOfItsOwnAndPaddingStaysOutOfThePicture) {
  // Three pixels of two bytes a row, two rows; rows need no padding at 2 bytes.
  const std::vector<uint8_t> two{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  std::vector<uint8_t> doubled(12 * 4, 0xEE);
  scaleWholePixels(two.data(), 3, 2, 2, 2, doubled.data());
  const std::vector<uint8_t> row0{1, 2, 1, 2, 3, 4, 3, 4, 5, 6, 5, 6};
  const std::vector<uint8_t> row1{7, 8, 7, 8, 9, 10, 9, 10, 11, 12, 11, 12};
  for (int r = 0; r < 4; ++r) {
    const std::vector<uint8_t> row(doubled.begin() + r * 12, doubled.begin() + (r + 1) * 12);
    EXPECT_EQ(row, r < 2 ? row0 : row1) << "row " << r;
  }
  // Three pixels of one byte: rows are padded to four bytes, scaled by 3 to nine
  // pixels padded to ten.
  const std::vector<uint8_t> one{1, 2, 3, 0x55, 4, 5, 6, 0x55};
  std::vector<uint8_t> tripled(10 * 6, 0xEE);
  scaleWholePixels(one.data(), 3, 2, 1, 3, tripled.data());
  EXPECT_EQ(std::vector<uint8_t>(tripled.begin() + 20, tripled.begin() + 30),
            (std::vector<uint8_t>{1, 1, 1, 2, 2, 2, 3, 3, 3, 0}));
  EXPECT_EQ(std::vector<uint8_t>(tripled.begin() + 50, tripled.begin() + 60),
            (std::vector<uint8_t>{4, 4, 4, 5, 5, 5, 6, 6, 6, 0}));
  EXPECT_EQ(bitmapRowBytes(3, 1), 4u);
  EXPECT_EQ(bitmapRowBytes(100, 3), 300u);
}

}  // namespace
