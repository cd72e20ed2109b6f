#include <gtest/gtest.h>

#include <utility>

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

// Walk targets keep 60 pixels from the left and top, 120 from the right and 90
// from the bottom of whatever area the pet is at home in.
TEST(PetArea, WalkTargetsAreKeptFromTheAreasOwnEdges) {
  auto kept = [](PixelPoint target, const PixelRect& work) {
    const PixelPoint got = targetKeptOn(target, work);
    return std::make_pair(got.x, got.y);
  };
  // One monitor at the origin: the numbers of a single screen.
  EXPECT_EQ(kept({0, 0}, {0, 0, 1024, 768}), std::make_pair(60, 60));
  EXPECT_EQ(kept({2000, 2000}, {0, 0, 1024, 768}), std::make_pair(904, 678));
  EXPECT_EQ(kept({500, 400}, {0, 0, 1024, 768}), std::make_pair(500, 400));
  // A monitor at negative coordinates.
  EXPECT_EQ(kept({-2000, -500}, LEFT_MONITOR), std::make_pair(-1220, -140));
  EXPECT_EQ(kept({100, 2000}, LEFT_MONITOR), std::make_pair(-120, 734));
  // A taskbar along the bottom, and one along the left edge.
  EXPECT_EQ(kept({500, 1000}, {0, 0, 1920, 1040}), std::make_pair(500, 950));
  EXPECT_EQ(kept({0, 500}, {60, 0, 1860, 1080}), std::make_pair(120, 500));
  // An area too low for both bounds: the bottom one wins.
  EXPECT_EQ(kept({500, 0}, {0, 0, 1920, 100}).second, 10);
}

// After a change of resolution the system may still report the old work area
// with the new monitor: the pet keeps to the part of it on the monitor.
TEST(PetArea, TheWorkAreaIsKeptToItsMonitor) {
  constexpr PixelRect SMALL{0, 0, 800, 600};
  // Larger than the monitor, as the 1024 x 768 area left by a change to 800 x 600.
  expectRect(workOnMonitor({0, 0, 1024, 768}, SMALL), SMALL);
  expectRect(workOnMonitor({-1400, -300, 1600, 1400}, LEFT_MONITOR), LEFT_MONITOR);
  // Meeting it only in part: a taskbar's area left over from a taller screen.
  expectRect(workOnMonitor({0, 40, 1024, 728}, SMALL), {0, 40, 800, 560});
  expectRect(workOnMonitor({-1400, -300, 400, 500}, LEFT_MONITOR), {-1280, -200, 280, 400});
  // Beside it, or on no monitor at all: the whole monitor.
  expectRect(workOnMonitor({800, 0, 224, 768}, SMALL), SMALL);
  expectRect(workOnMonitor({0, 0, 1920, 1040}, LEFT_MONITOR), LEFT_MONITOR);
  expectRect(workOnMonitor({0, 0, 0, 0}, SMALL), SMALL);
  // Inside it, as a taskbar leaves it: as the system reports it.
  expectRect(workOnMonitor({0, 0, 800, 560}, SMALL), {0, 0, 800, 560});
  expectRect(workOnMonitor({-1220, -200, 1220, 1024}, LEFT_MONITOR), {-1220, -200, 1220, 1024});
}

TEST(PetArea, TheFirstSpotKeepsItsMarginsOnTheAreaItIsDrawnIn) {
  EXPECT_EQ(firstSpotAlong(0, 0, 1024), 80);
  EXPECT_EQ(firstSpotAlong(863, 0, 1024), 943) << "the last of 864 spots";
  EXPECT_EQ(firstSpotAlong(864, 0, 1024), 80);
  EXPECT_EQ(firstSpotAlong(0, -1280, 1280), -1200);
  // A work area 168 pixels short of a 768-pixel monitor: the sprite's 105 rows
  // reach at most 24 past the area's bottom, never onto the rest of the taskbar.
  EXPECT_EQ(firstSpotAlong(439, 0, 600), 519);
  EXPECT_EQ(firstSpotAlong(32767, 0, 150), 80) << "too short for the margins";
  EXPECT_EQ(firstSpotAlong(5, 40, 150), 120);
}

TEST(PetArea, ASpriteAcrossASeamBelongsToTheMonitorHoldingMostOfIt) {
  constexpr PixelRect FIRST{0, 0, 1024, 768};
  constexpr PixelRect SECOND{1024, 0, 1024, 768};
  // Half on each: either may keep it.
  EXPECT_TRUE(holdsHalfOrMore(FIRST, {974, 300, 100, 105}));
  EXPECT_TRUE(holdsHalfOrMore(SECOND, {974, 300, 100, 105}));
  EXPECT_FALSE(holdsHalfOrMore(FIRST, {975, 300, 100, 105}));
  EXPECT_TRUE(holdsHalfOrMore(SECOND, {975, 300, 100, 105}));
  // Across the seam at x 0 with a monitor at negative coordinates.
  EXPECT_TRUE(holdsHalfOrMore(LEFT_MONITOR, {-60, 300, 100, 105}));
  EXPECT_FALSE(holdsHalfOrMore(PRIMARY, {-60, 300, 100, 105}));
  // Off every monitor, and half below a monitor's bottom edge.
  EXPECT_FALSE(holdsHalfOrMore(FIRST, {3000, 300, 100, 105}));
  EXPECT_FALSE(holdsHalfOrMore(FIRST, {300, 716, 100, 105}));
}

TEST(PetArea, ArrowBoundsLieInsideTheAreaItself) {
  const PixelRect bounds = insetBy({1024, 40, 1024, 728}, 150);
  expectRect(bounds, {1174, 190, 724, 428});
  EXPECT_EQ(rightOf(bounds), 1898);
  EXPECT_EQ(bottomOf(bounds), 618);
}

}  // namespace
