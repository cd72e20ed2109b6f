#pragma once
#include <cstdint>
#include <vector>

#include "art/canvas.h"
#include "art/geometry.h"

namespace art {

struct Shape {
  enum class Kind { Ellipse, Capsule, Triangle };
  Kind kind = Kind::Ellipse;
  Vec p0, p1, p2;
  double r0 = 0, r1 = 0;

  // Whether p lies inside. shade runs from about -1 (turned to the light) to 1.
  bool covers(Vec p, Vec light, double& shade) const;
};

Shape ellipse(Vec centre, double rx, double ry);
Shape circle(Vec centre, double r);
Shape capsule(Vec from, Vec to, double rFrom, double rTo);
Shape triangle(Vec a, Vec b, Vec c);

// Three tones picked by how far a pixel is turned from the light.
struct Ramp {
  std::uint8_t lit;
  std::uint8_t mid;
  std::uint8_t dark;
  double midFrom;
  double darkFrom;
};

struct Part {
  Shape shape;
  Ramp ramp;
  Affine place;  // from the shape's own coordinates to the canvas
};

// Parts drawn as one piece: one outline goes around all of them.
struct Layer {
  std::vector<Part> parts;
  bool outlined = true;
  // Outline colour where the layer overlaps earlier drawing instead of the background.
  std::uint8_t innerLine = ink::Outline;
};

void drawLayer(Canvas& canvas, const Layer& layer);

}  // namespace art
