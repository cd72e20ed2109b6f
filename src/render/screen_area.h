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

struct PixelPoint {
  int32_t x;
  int32_t y;
};

// Where the pet is at home: the monitor that holds most of its sprite and that
// monitor's work area, the part the taskbar and other docked bars leave free.
struct PetArea {
  PixelRect monitor;
  PixelRect work;
};

bool sameRect(const PixelRect& a, const PixelRect& b);

// The part of a work area that lies on its monitor; the whole monitor where
// the two do not meet. The system may report a work area larger than the
// monitor, or beside it, for a while after a change of resolution.
PixelRect workOnMonitor(const PixelRect& work, const PixelRect& monitor);

// Whether `monitor` holds at least half of `sprite`: then no other monitor
// holds more of it.
bool holdsHalfOrMore(const PixelRect& monitor, const PixelRect& sprite);

// A walk target kept where the pet's walks belong on `work`: at least 60
// pixels from its left and top edges, 120 from its right and 90 from its
// bottom. Where the area is too small for both, the right and bottom bounds win.
PixelPoint targetKeptOn(PixelPoint target, const PixelRect& work);

// The first spot's coordinate along an extent of the area (from `start`,
// `length` long) for a random draw: 80 pixels or more from the start, less
// than 80 from the end; 80 from the start where the extent is too short.
int32_t firstSpotAlong(int32_t draw, int32_t start, int32_t length);

// `rect` shrunk by `inset` on every side.
PixelRect insetBy(const PixelRect& rect, int32_t inset);

inline int64_t rightOf(const PixelRect& rect) { return int64_t(rect.left) + rect.width; }
inline int64_t bottomOf(const PixelRect& rect) { return int64_t(rect.top) + rect.height; }
