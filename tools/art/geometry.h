#pragma once
#include <cmath>

namespace art {

struct Vec {
  double x = 0;
  double y = 0;
};

inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(Vec a, double s) { return {a.x * s, a.y * s}; }
inline double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
inline Vec normalised(Vec a) {
  const double length = std::sqrt(dot(a, a));
  return length > 0 ? a * (1.0 / length) : a;
}
inline Vec lerp(Vec a, Vec b, double t) { return a + (b - a) * t; }

// x' = a*x + b*y + tx, y' = c*x + d*y + ty
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  Vec apply(Vec p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
  Vec applyLinear(Vec p) const { return {a * p.x + b * p.y, c * p.x + d * p.y}; }
  Affine inverse() const;

  static Affine translation(Vec by);
  // The y axis points down, so positive degrees turn clockwise on screen.
  static Affine rotationAbout(double degrees, Vec pivot);
  static Affine scalingAbout(double factor, Vec pivot);
};

// outer * inner applies inner first.
Affine operator*(const Affine& outer, const Affine& inner);

}  // namespace art
