#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Draws one animation frame over its background with a colour key, on raw pixel
// bytes in the display's own format (1 to 4 bytes per pixel). Colours are never
// interpreted: pixels are only compared with the key and copied.

// How a frame is drawn.
constexpr int32_t FACING_AS_STORED = 1;
constexpr int32_t FACING_MIRRORED = 2;

// Bytes per pixel of a display or bitmap depth the merge takes (8, 16, 24 or
// 32 bits); 0 for any other.
int32_t bytesForDepth(int32_t bitsPerPixel);

// The three byte buffers the merge works in; each holds `capacity` bytes.
struct MergeBuffers {
  const uint8_t* frame;  // the frame's pixels
  uint8_t* background;   // the background's pixels; the plain merge writes its result here in place
  uint8_t* mirror;       // receives the mirrored result
  size_t capacity;
};

// Returns the buffer that holds the finished picture (n = pixelCount * bytesPerPixel bytes to store),
// or nullptr when there is nothing to store.
uint8_t* mergeKeyed(const MergeBuffers& buffers, int32_t width, int32_t pixelCount, int32_t facing, int32_t bytesPerPixel);

// A rectangle of a frame's drawn pixels, in the frame's own pixels (row 0 first).
struct DrawnBlock {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// Exactly the pixels that mergeKeyed draws of `frame` in `facing`: those that do
// not match its key, by the merge's own rule, mirrored within each row for
// FACING_MIRRORED. Each row's runs of drawn pixels become rectangles, and rows
// with the same runs as the row above are joined into taller ones, so the list
// comes in bands from top to bottom and from left to right within a band.
// Empty when nothing is drawn or the shape is not one the merge takes.
std::vector<DrawnBlock> drawnBlocks(const uint8_t* frame, size_t frameBytes, int32_t width,
                                    int32_t pixelCount, int32_t facing, int32_t bytesPerPixel);

// Whether any pixel that mergeKeyed draws of `frame` has the colour bytes of
// `colour` (the first three of four at 4 bytes a pixel): a colour no frame
// draws can serve the system as the window's see-through key.
bool drawsColour(const uint8_t* frame, size_t frameBytes, int32_t pixelCount,
                 int32_t bytesPerPixel, const uint8_t* colour);
