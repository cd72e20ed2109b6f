#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "art/palette.h"

namespace art {

// An image of palette indices, row 0 at the top.
class Canvas {
 public:
  Canvas(int width, int height, std::uint8_t fill = ink::Key)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  std::uint8_t at(int x, int y) const { return contains(x, y) ? pixels_[index(x, y)] : ink::Key; }
  // Drawing past the edge is clipped so callers can place parts freely.
  void set(int x, int y, std::uint8_t value) {
    if (contains(x, y)) pixels_[index(x, y)] = value;
  }
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

 private:
  std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

// A small picture written as text, one character per pixel; '.' leaves the
// canvas as it is. See inkFor() for the legend.
using PixelMap = std::vector<std::string>;

int inkFor(char symbol);  // -1 for '.'
void stamp(Canvas& canvas, const PixelMap& map, int left, int top);
void stampCentred(Canvas& canvas, const PixelMap& map, double centreX, double centreY);
PixelMap mirrored(const PixelMap& map);

}  // namespace art
