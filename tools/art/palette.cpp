#include "art/palette.h"

#include <algorithm>

namespace art {
namespace {

struct Entry {
  std::uint8_t index;
  Rgb colour;
};

// Cool whites and ice blues; the outline is a dark blue-grey so the pup holds
// its shape on light and dark desktops alike.
constexpr Entry kArtColours[] = {
    {ink::Black, {0, 0, 0}},          {ink::Outline, {36, 44, 68}},      {ink::White, {250, 252, 255}},
    {ink::FurLight, {216, 228, 244}}, {ink::FurMid, {174, 192, 220}},    {ink::FurDeep, {132, 152, 188}},
    {ink::IceLight, {178, 230, 252}}, {ink::Ice, {98, 182, 242}},        {ink::IceDeep, {50, 116, 196}},
    {ink::Eye, {26, 30, 54}},         {ink::EyeGlint, {84, 140, 214}},   {ink::Nose, {44, 48, 72}},
    {ink::Tongue, {236, 118, 142}},   {ink::Blush, {250, 182, 202}},     {ink::Star, {255, 222, 92}},
    {ink::StarDeep, {226, 160, 36}},  {ink::Sweat, {150, 212, 250}},     {ink::Key, kKeyColour},
};

Palette buildPalette() {
  Palette table{};
  // Filler entries are greys; a grey can never reduce onto the green-heavy key.
  for (int i = 0; i < 256; ++i) {
    const auto level = static_cast<std::uint8_t>(i);
    table[i] = Rgb{level, level, level};
  }
  for (const Entry& entry : kArtColours) table[entry.index] = entry.colour;
  return table;
}

std::uint16_t cut(unsigned value, int bits) { return static_cast<std::uint16_t>(value >> (8 - bits)); }

std::uint16_t round(unsigned value, int bits) {
  const unsigned shift = 8 - bits;
  const unsigned top = (1u << bits) - 1;
  return static_cast<std::uint16_t>(std::min(top, (value + (1u << (shift - 1))) >> shift));
}

}  // namespace

const Palette& palette() {
  static const Palette table = buildPalette();
  return table;
}

std::uint16_t reduce(Rgb colour, Reduction how) {
  switch (how) {
    case Reduction::Cut565:
      return static_cast<std::uint16_t>(cut(colour.r, 5) << 11 | cut(colour.g, 6) << 5 | cut(colour.b, 5));
    case Reduction::Round565:
      return static_cast<std::uint16_t>(round(colour.r, 5) << 11 | round(colour.g, 6) << 5 | round(colour.b, 5));
    case Reduction::Cut555:
      return static_cast<std::uint16_t>(cut(colour.r, 5) << 10 | cut(colour.g, 5) << 5 | cut(colour.b, 5));
    case Reduction::Round555:
      return static_cast<std::uint16_t>(round(colour.r, 5) << 10 | round(colour.g, 5) << 5 | round(colour.b, 5));
  }
  return 0;
}

bool reducesOntoKey(Rgb colour) {
  return std::any_of(kReductions.begin(), kReductions.end(),
                     [&](Reduction how) { return reduce(colour, how) == reduce(kKeyColour, how); });
}

}  // namespace art
