#include "art/canvas.h"

#include <cmath>

namespace art {

int inkFor(char symbol) {
  switch (symbol) {
    case 'K': return ink::Black;
    case 'O': return ink::Outline;
    case 'W': return ink::White;
    case 'L': return ink::FurLight;
    case 'M': return ink::FurMid;
    case 'D': return ink::FurDeep;
    case 'i': return ink::IceLight;
    case 'I': return ink::Ice;
    case 'J': return ink::IceDeep;
    case 'E': return ink::Eye;
    case 'G': return ink::EyeGlint;
    case 'N': return ink::Nose;
    case 'T': return ink::Tongue;
    case 'P': return ink::Blush;
    case 'S': return ink::Star;
    case 's': return ink::StarDeep;
    case 'd': return ink::Sweat;
    default: return -1;
  }
}

void stamp(Canvas& canvas, const PixelMap& map, int left, int top) {
  for (std::size_t row = 0; row < map.size(); ++row) {
    for (std::size_t column = 0; column < map[row].size(); ++column) {
      const int value = inkFor(map[row][column]);
      if (value >= 0) canvas.set(left + static_cast<int>(column), top + static_cast<int>(row), static_cast<std::uint8_t>(value));
    }
  }
}

void stampCentred(Canvas& canvas, const PixelMap& map, double centreX, double centreY) {
  const int width = map.empty() ? 0 : static_cast<int>(map[0].size());
  const int height = static_cast<int>(map.size());
  stamp(canvas, map, static_cast<int>(std::lround(centreX - width / 2.0)),
        static_cast<int>(std::lround(centreY - height / 2.0)));
}

PixelMap mirrored(const PixelMap& map) {
  PixelMap result;
  for (const std::string& row : map) result.emplace_back(row.rbegin(), row.rend());
  return result;
}

}  // namespace art
