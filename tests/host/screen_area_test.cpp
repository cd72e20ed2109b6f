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

constexpr PixelRect PRIMARY{0, 0, 1920, 1080};
constexpr PixelRect LEFT_MONITOR{-1280, -200, 1280, 1024};

TEST(ScreenArea, APetOffItsMonitorComesBackByTheLeastMove) {
  // Left behind by a smaller resolution: back into the corner, nothing more.
  expectRect(pulledOnto({1100, 900, 100, 105}, {0, 0, 800, 600}), {700, 495, 100, 105});
  // Wholly on the monitor: it stays.
  expectRect(pulledOnto({300, 200, 100, 105}, PRIMARY), {300, 200, 100, 105});
  // Partly past a monitor at negative coordinates: only the cut-off side moves.
  expectRect(pulledOnto({-1300, 500, 100, 105}, LEFT_MONITOR), {-1280, 500, 100, 105});
  expectRect(pulledOnto({-50, -250, 100, 105}, LEFT_MONITOR), {-100, -200, 100, 105});
  // A monitor smaller than the pet: its top-left corner goes to the monitor's.
  expectRect(pulledOnto({500, 500, 100, 105}, {0, 0, 80, 60}), {0, 0, 100, 105});
}

TEST(ScreenArea, OnlyAWindowOverTheWholeMonitorCountsAsFullScreen) {
  EXPECT_TRUE(coversWhole(PRIMARY, PRIMARY));
  EXPECT_TRUE(coversWhole({-8, -8, 1936, 1096}, PRIMARY)) << "a maximised frame reaches past";
  EXPECT_FALSE(coversWhole({0, 0, 1920, 1040}, PRIMARY)) << "large, but the taskbar shows";
  EXPECT_FALSE(coversWhole({1, 0, 1920, 1080}, PRIMARY));
  EXPECT_FALSE(coversWhole(LEFT_MONITOR, PRIMARY)) << "full-screen on the other monitor";
  EXPECT_TRUE(coversWhole(LEFT_MONITOR, LEFT_MONITOR));
}

}  // namespace
