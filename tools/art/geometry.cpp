#include "art/geometry.h"

namespace art {

Affine Affine::inverse() const {
  const double det = a * d - b * c;
  Affine r;
  r.a = d / det;
  r.b = -b / det;
  r.c = -c / det;
  r.d = a / det;
  r.tx = -(r.a * tx + r.b * ty);
  r.ty = -(r.c * tx + r.d * ty);
  return r;
}

Affine Affine::translation(Vec by) {
  Affine r;
  r.tx = by.x;
  r.ty = by.y;
  return r;
}

Affine Affine::rotationAbout(double degrees, Vec pivot) {
  const double radians = degrees * 3.14159265358979323846 / 180.0;
  Affine turn;
  turn.a = std::cos(radians);
  turn.b = -std::sin(radians);
  turn.c = std::sin(radians);
  turn.d = std::cos(radians);
  return translation(pivot) * turn * translation(pivot * -1.0);
}

Affine Affine::scalingAbout(double factor, Vec pivot) {
  Affine grow;
  grow.a = factor;
  grow.d = factor;
  return translation(pivot) * grow * translation(pivot * -1.0);
}

Affine operator*(const Affine& o, const Affine& i) {
  Affine r;
  r.a = o.a * i.a + o.b * i.c;
  r.b = o.a * i.b + o.b * i.d;
  r.c = o.c * i.a + o.d * i.c;
  r.d = o.c * i.b + o.d * i.d;
  r.tx = o.a * i.tx + o.b * i.ty + o.tx;
  r.ty = o.c * i.tx + o.d * i.ty + o.ty;
  return r;
}

}  // namespace art
