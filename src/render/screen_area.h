#pragma once
#include <cstdint>

// A rectangle of screen pixels. Screens left of or above the primary one have
// negative coordinates.
struct PixelRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// The part of `wanted` that lies on `screen`; its width or height is 0 when
// nothing of it does.
PixelRect visiblePart(const PixelRect& wanted, const PixelRect& screen);

// `rect` moved by the least distance that puts it wholly on `area`; where it is
// wider or taller than `area`, its left or top edge goes to the area's.
PixelRect pulledOnto(const PixelRect& rect, const PixelRect& area);

// Whether `window` covers the whole of `monitor`, as a full-screen program does.
bool coversWhole(const PixelRect& window, const PixelRect& monitor);
