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
