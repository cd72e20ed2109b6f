#include <gtest/gtest.h>

#include "render/screen_area.h"

namespace {

void expectRect(const PixelRect& got, PixelRect expected) {
  EXPECT_EQ(got.left, expected.left);
  EXPECT_EQ(got.top, expected.top);
  EXPECT_EQ(got.width, expected.width);
  EXPECT_EQ(got.height, expected.height);
}

// A 1920 x 1080 primary with a 1280 x 1024 monitor to its left, 200 pixels
// higher: the virtual screen starts at (-1280, -200).
constexpr PixelRect TWO_MONITORS{-1280, -200, 3200, 1280};

TEST(ScreenArea, CapturesReachEveryMonitorAndStopAtTheOuterEdges) {
  // On the left monitor, wholly at negative coordinates.
  expectRect(visiblePart({-900, -150, 114, 119}, TWO_MONITORS), {-900, -150, 114, 119});
  // Straddling the two monitors: nothing is cut at the primary's left edge.
  expectRect(visiblePart({-50, 300, 114, 119}, TWO_MONITORS), {-50, 300, 114, 119});
  // Past the virtual screen's left and top edges: only the part on it.
  expectRect(visiblePart({-1300, -210, 114, 119}, TWO_MONITORS), {-1280, -200, 94, 109});
  // Past the right and bottom edges.
  expectRect(visiblePart({1850, 1030, 114, 119}, TWO_MONITORS), {1850, 1030, 70, 50});
  // Wholly off every monitor, also absurdly far.
  EXPECT_EQ(visiblePart({1920, 100, 114, 119}, TWO_MONITORS).width, 0);
  EXPECT_EQ(visiblePart({2147483600, 100, 114, 119}, TWO_MONITORS).width, 0);
  EXPECT_EQ(visiblePart({-2147483600, 100, 114, 119}, TWO_MONITORS).width, 0);
  // One monitor at the origin, as before.
  expectRect(visiblePart({-7, 700, 114, 119}, {0, 0, 1024, 768}), {0, 700, 107, 68});
}

}  // namespace
