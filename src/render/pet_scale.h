#pragma once
#include <cstddef>
#include <cstdint>

#include "render/screen_area.h"

// On a scaled display each of the pet's own pixels takes a block of screen
// pixels, so that the pup keeps its size and stays sharp. The pet's rules all
// run in its own pixels; only the window's place, the cursor and the screen's
// areas are converted. How the pet follows a change of scale or depth:
struct PetScale {
  // A change of scale or depth waits while the pet is held or busy with a
  // step or a window move of its own, and is then followed once.
  int32_t changePending = 0;
  int32_t busy = 0;
  // While a new set of frames and surfaces is made, what cannot be made is
  // not reported: the pet keeps the set it has.
  int32_t rebuilding = 0;
  int32_t incomplete = 0;  // something of the set being made could not be made
};

constexpr int32_t STANDARD_DPI = 96;

// The monitor's DPI over 96, to the nearest whole number (halves up), at least 1.
int32_t scaleForDpi(int32_t dpi);

// `scale` lowered until a sprite of width × height pet pixels takes no more
// than half of `area` each way; never below 1.
int32_t scaleThatFits(int32_t scale, const PixelRect& area, int32_t width, int32_t height);

// A screen coordinate in pet pixels, rounded toward minus infinity: monitors
// left of or above the primary one have negative coordinates.
int32_t petPixelsOf(int32_t screen, int32_t scale);

// `area` seen in pet pixels, each edge rounded toward minus infinity.
PixelRect petPixelsOf(const PixelRect& area, int32_t scale);

// Bytes of a row of a device-dependent bitmap: padded to an even count.
size_t bitmapRowBytes(int32_t width, int32_t bytesPerPixel);

// Copies a picture of width × height pixels with each pixel made a scale ×
// scale block, no smoothing: `target` receives (width × scale) × (height ×
// scale) pixels. Rows in both are padded as bitmap rows are.
void scaleWholePixels(const uint8_t* source, int32_t width, int32_t height,
                      int32_t bytesPerPixel, int32_t scale, uint8_t* target);
