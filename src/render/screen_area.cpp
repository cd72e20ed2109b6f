#include "render/screen_area.h"

#include <algorithm>

PixelRect visiblePart(const PixelRect& wanted, const PixelRect& screen) {
  // In 64 bits: a pet dragged absurdly far must not wrap around onto the screen.
  const int64_t left = std::max<int64_t>(wanted.left, screen.left);
  const int64_t top = std::max<int64_t>(wanted.top, screen.top);
  const int64_t right = std::min<int64_t>(int64_t(wanted.left) + wanted.width,
                                          int64_t(screen.left) + screen.width);
  const int64_t bottom = std::min<int64_t>(int64_t(wanted.top) + wanted.height,
                                           int64_t(screen.top) + screen.height);
  if (left >= right || top >= bottom) return {wanted.left, wanted.top, 0, 0};
  return {int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top)};
}

namespace {
int32_t pulledInto(int32_t start, int32_t length, int32_t areaStart, int32_t areaLength) {
  const int64_t lastStart = int64_t(areaStart) + areaLength - length;
  if (start > lastStart) return int32_t(std::max<int64_t>(lastStart, areaStart));
  return std::max(start, areaStart);
}
}  // namespace

PixelRect pulledOnto(const PixelRect& rect, const PixelRect& area) {
  return {pulledInto(rect.left, rect.width, area.left, area.width),
          pulledInto(rect.top, rect.height, area.top, area.height), rect.width, rect.height};
}

bool coversWhole(const PixelRect& window, const PixelRect& monitor) {
  return window.left <= monitor.left && window.top <= monitor.top &&
         int64_t(window.left) + window.width >= int64_t(monitor.left) + monitor.width &&
         int64_t(window.top) + window.height >= int64_t(monitor.top) + monitor.height;
}

bool sameRect(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

PixelRect workOnMonitor(const PixelRect& work, const PixelRect& monitor) {
  const PixelRect onMonitor = visiblePart(work, monitor);
  return onMonitor.width > 0 && onMonitor.height > 0 ? onMonitor : monitor;
}

bool holdsHalfOrMore(const PixelRect& monitor, const PixelRect& sprite) {
  const PixelRect held = visiblePart(sprite, monitor);
  return 2 * int64_t(held.width) * held.height >= int64_t(sprite.width) * sprite.height;
}

namespace {
constexpr int32_t TARGET_GAP_LEFT = 60;
constexpr int32_t TARGET_GAP_TOP = 60;
// The sprite is 100 x 105: a target this far from the right and bottom edges
// keeps all of it on the area, but for a few rows of its feet.
constexpr int32_t TARGET_GAP_RIGHT = 120;
constexpr int32_t TARGET_GAP_BOTTOM = 90;
constexpr int32_t FIRST_SPOT_MARGIN = 80;

int32_t keptBetween(int32_t value, int64_t low, int64_t high) {
  int64_t kept = value;
  if (kept < low) kept = low;
  if (kept > high) kept = high;  // applied last: this bound wins
  return int32_t(kept);
}
}  // namespace

PixelPoint targetKeptOn(PixelPoint target, const PixelRect& work) {
  return {keptBetween(target.x, int64_t(work.left) + TARGET_GAP_LEFT,
                      rightOf(work) - TARGET_GAP_RIGHT),
          keptBetween(target.y, int64_t(work.top) + TARGET_GAP_TOP,
                      bottomOf(work) - TARGET_GAP_BOTTOM)};
}

int32_t firstSpotAlong(int32_t draw, int32_t start, int32_t length) {
  const int32_t range = length - 2 * FIRST_SPOT_MARGIN;
  return start + (range > 0 ? draw % range + FIRST_SPOT_MARGIN : FIRST_SPOT_MARGIN);
}

PixelRect insetBy(const PixelRect& rect, int32_t inset) {
  return {rect.left + inset, rect.top + inset, rect.width - 2 * inset, rect.height - 2 * inset};
}
