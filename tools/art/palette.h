#pragma once
#include <array>
#include <cstdint>

namespace art {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Palette entries the art draws with. Every other entry is filler.
namespace ink {
constexpr std::uint8_t Black = 0;
constexpr std::uint8_t Outline = 1;
constexpr std::uint8_t White = 2;
constexpr std::uint8_t FurLight = 3;
constexpr std::uint8_t FurMid = 4;
constexpr std::uint8_t FurDeep = 5;
constexpr std::uint8_t IceLight = 6;
constexpr std::uint8_t Ice = 7;
constexpr std::uint8_t IceDeep = 8;
constexpr std::uint8_t Eye = 9;
constexpr std::uint8_t EyeGlint = 10;
constexpr std::uint8_t Nose = 11;
constexpr std::uint8_t Tongue = 12;
constexpr std::uint8_t Blush = 13;
constexpr std::uint8_t Star = 14;
constexpr std::uint8_t StarDeep = 15;
constexpr std::uint8_t Sweat = 16;
// The window's transparent colour: everything that is not the pup.
constexpr std::uint8_t Key = 88;
}  // namespace ink

constexpr Rgb kKeyColour{4, 76, 44};

using Palette = std::array<Rgb, 256>;

const Palette& palette();

// The ways a display of fewer colours may squeeze a palette colour; the key
// must stay unique under each of them or fur could turn transparent.
enum class Reduction { Cut565, Round565, Cut555, Round555 };
constexpr std::array<Reduction, 4> kReductions{Reduction::Cut565, Reduction::Round565, Reduction::Cut555,
                                               Reduction::Round555};

std::uint16_t reduce(Rgb colour, Reduction how);
bool reducesOntoKey(Rgb colour);

}  // namespace art
