#include "art/shapes.h"

#include <algorithm>
#include <cmath>

namespace art {
namespace {

// Light falls from the upper left.
const Vec kLight = normalised({0.55, 0.85});

double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }

std::uint8_t tone(const Ramp& ramp, double shade) {
  if (shade >= ramp.darkFrom) return ramp.dark;
  if (shade >= ramp.midFrom) return ramp.mid;
  return ramp.lit;
}

}  // namespace

Shape ellipse(Vec centre, double rx, double ry) {
  Shape s;
  s.kind = Shape::Kind::Ellipse;
  s.p0 = centre;
  s.r0 = rx;
  s.r1 = ry;
  return s;
}

Shape circle(Vec centre, double r) { return ellipse(centre, r, r); }

Shape capsule(Vec from, Vec to, double rFrom, double rTo) {
  Shape s;
  s.kind = Shape::Kind::Capsule;
  s.p0 = from;
  s.p1 = to;
  s.r0 = rFrom;
  s.r1 = rTo;
  return s;
}

Shape triangle(Vec a, Vec b, Vec c) {
  Shape s;
  s.kind = Shape::Kind::Triangle;
  s.p0 = a;
  s.p1 = b;
  s.p2 = c;
  return s;
}

bool Shape::covers(Vec p, Vec light, double& shade) const {
  switch (kind) {
    case Kind::Ellipse: {
      const Vec n{(p.x - p0.x) / r0, (p.y - p0.y) / r1};
      if (dot(n, n) > 1.0) return false;
      shade = dot(n, light);
      return true;
    }
    case Kind::Capsule: {
      const Vec axis = p1 - p0;
      const double span = dot(axis, axis);
      const double t = span > 0 ? std::clamp(dot(p - p0, axis) / span, 0.0, 1.0) : 0.0;
      const double radius = r0 + (r1 - r0) * t;
      const Vec off = p - (p0 + axis * t);
      if (dot(off, off) > radius * radius) return false;
      shade = dot(off * (1.0 / radius), light);
      return true;
    }
    case Kind::Triangle: {
      const double d0 = cross(p1 - p0, p - p0);
      const double d1 = cross(p2 - p1, p - p1);
      const double d2 = cross(p0 - p2, p - p2);
      const bool anyNegative = d0 < 0 || d1 < 0 || d2 < 0;
      const bool anyPositive = d0 > 0 || d1 > 0 || d2 > 0;
      if (anyNegative && anyPositive) return false;
      const Vec centre = (p0 + p1 + p2) * (1.0 / 3.0);
      const double size = std::max({std::sqrt(dot(p0 - centre, p0 - centre)), std::sqrt(dot(p1 - centre, p1 - centre)),
                                    std::sqrt(dot(p2 - centre, p2 - centre))});
      shade = dot((p - centre) * (1.0 / size), light);
      return true;
    }
  }
  return false;
}

void drawLayer(Canvas& canvas, const Layer& layer) {
  const int width = canvas.width();
  const int height = canvas.height();
  std::vector<int> painted(static_cast<std::size_t>(width * height), -1);
  for (const Part& part : layer.parts) {
    const Affine toShape = part.place.inverse();
    const Vec light = normalised(toShape.applyLinear(kLight));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        double shade = 0;
        if (part.shape.covers(toShape.apply({x + 0.5, y + 0.5}), light, shade)) {
          painted[static_cast<std::size_t>(y * width + x)] = tone(part.ramp, shade);
        }
      }
    }
  }
  auto isPainted = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && painted[static_cast<std::size_t>(y * width + x)] >= 0;
  };
  if (layer.outlined) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (isPainted(x, y)) continue;
        if (isPainted(x - 1, y) || isPainted(x + 1, y) || isPainted(x, y - 1) || isPainted(x, y + 1)) {
          const std::uint8_t under = canvas.at(x, y);
          if (under != ink::Outline) canvas.set(x, y, under == ink::Key ? ink::Outline : layer.innerLine);
        }
      }
    }
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (isPainted(x, y)) canvas.set(x, y, static_cast<std::uint8_t>(painted[static_cast<std::size_t>(y * width + x)]));
    }
  }
}

}  // namespace art
