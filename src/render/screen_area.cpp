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
