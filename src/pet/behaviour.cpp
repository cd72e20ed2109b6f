#include <cmath>
#include <cstdlib>

#include "pet/desktop_pet.h"
#include "pet/random.h"
#include "render/pet_scale.h"

namespace {

// Which act STAND moves on to for a draw r (0..99) once it has stood long enough.
int32_t actAfterStanding(int32_t r) {
  if (r > 70) return slot::FAILED;
  if (r > 60) return slot::NO;
  if (r > 50) return slot::HAPPY;
  if (r > 40) return slot::RIGHT;
  if (r > 30) return slot::HI;
  if (r > 20) return slot::WALK;
  return slot::STAND;
}

// An act ends once it is older than `minimumAge` ms and the draw beats `threshold`.
int32_t endsAfter(int32_t age, int32_t minimumAge, int32_t r, int32_t threshold, int32_t current) {
  return (age > minimumAge && r > threshold) ? slot::STAND : current;
}

}  // namespace

void DesktopPet::chooseBehaviour() {
  const int32_t r = nextRandom() % 100;
  const int32_t age = timerPeriod * behaviourTicks;
  int32_t next = animation;
  switch (animation) {
    case slot::STAND:
      if (age > 500) next = actAfterStanding(r);
      if (next != slot::STAND) pickTarget(command);
      break;
    case slot::WALK:
      next = endsAfter(age, 4500, r, 35, animation);
      if (next == slot::WALK && std::abs(x - targetX) <= 2 * border &&
          std::abs(y - targetY) <= 2 * border) {
        pickTarget(command);
      }
      break;
    case slot::FAILED: next = endsAfter(age, 500, r, 80, animation); break;
    case slot::HAPPY: next = endsAfter(age, 300, r, 95, animation); break;
    case slot::HI: next = slot::STAND; break;
    case slot::NO: next = endsAfter(age, 400, r, 80, animation); break;
    case slot::RIGHT: next = endsAfter(age, 500, r, 95, animation); break;
    default: next = slot::STAND; break;
  }
  if (next == animation) return;

  animation = next;
  motionKind = motionKinds[next];
  currentFrame = &drawing.animations[next];
  if (!drawing.animations[next].next) {
    currentFrame = &drawing.animations[slot::STAND];
    animation = slot::STAND;
  }
  behaviourTicks = 0;
}

void DesktopPet::pickTarget(int32_t kind) {
  if (kind == Drag) {
    // On the secure desktop (a UAC prompt, the lock screen) the cursor cannot be
    // read: the pet stays under the last position known.
    POINT cursor{};
    if (!petSystem.getCursorPos(&cursor)) return;
    targetX = petPixelsOf(cursor.x, drawing.factor);
    targetY = petPixelsOf(cursor.y, drawing.factor);
    return;
  }

  int32_t a = nextRandom() % 120 - 60;
  if (a == 0) a = 1;
  targetY = a <= 0 ? y + a - 30 : y + a + 30;

  int32_t b = nextRandom() % 480 - 240;
  if (b == 0) b = 1;
  targetX = b <= 0 ? x + b - 80 : x + b + 80;
  keepTargetOnScreen();
}

void DesktopPet::keepTargetOnScreen() {
  const PixelPoint kept = targetKeptOn({targetX, targetY}, home.work);
  targetX = kept.x;
  targetY = kept.y;
}

namespace {
int32_t limitSpeed(int32_t component, int32_t speed) {
  if (component > speed) return speed;
  if (component < -speed) return -speed;
  return component;
}
}  // namespace

void DesktopPet::updateVelocity() {
  if (motionKind == motion::STANDS) {
    velocityX = 0;
    velocityY = 0;
    return;
  }
  if (motionKind != motion::WALKS) return;

  // Distances in double: a pet dragged far off the screen must not overflow the product.
  double dx = std::fabs(double(x) - double(targetX));
  double dy = std::fabs(double(y) - double(targetY));
  if (dx == 0) dx = 1;
  if (dy == 0) dy = 1;
  const double d = std::sqrt(dx * dy);
  const int32_t speed = margin;
  if (d <= speed) {
    pickTarget(Tick);
    return;
  }
  const double f = speed / d;
  velocityX = limitSpeed(static_cast<int32_t>((double(targetX) - x) * f), speed);
  velocityY = limitSpeed(static_cast<int32_t>((double(targetY) - y) * f), speed);
}
