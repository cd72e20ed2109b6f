#include "pet/desktop_pet.h"
#include "pet/random.h"

namespace {
// An arrow key starts no new steps toward an edge of the work area this close;
// the pet goes on with the velocity it has.
constexpr int32_t KEY_BOUND = 150;
constexpr int32_t KEY_TARGET_DISTANCE = 50;
constexpr int32_t DRAG_HOLD_ABOVE_CURSOR = 10;

// Where each arrow heads: one unit a step across or down the screen.
struct ArrowStep {
  int32_t dx;
  int32_t dy;
};
constexpr ArrowStep ARROW_STEPS[] = {
    {-1, 0},  // DIRECTION_LEFT
    {1, 0},   // DIRECTION_RIGHT
    {0, -1},  // DIRECTION_UP
    {0, 1},   // DIRECTION_DOWN
};

const ArrowStep* arrowStepFor(int32_t direction) {
  if (direction < DIRECTION_LEFT || direction > DIRECTION_DOWN) return nullptr;
  return &ARROW_STEPS[direction - DIRECTION_LEFT];
}

// Whether the pet at (x, y) is still short of the bound it heads for.
bool roomAhead(const ArrowStep& step, const PixelRect& bounds, int32_t x, int32_t y) {
  if (step.dx < 0) return x > bounds.left;
  if (step.dx > 0) return x < rightOf(bounds);
  if (step.dy < 0) return y > bounds.top;
  return y < bottomOf(bounds);
}
}  // namespace

void DesktopPet::PetStep(int32_t newCommand) {
  if (heldBy) return;  // the screen is not the user's now
  ++scale.busy;
  previousCommand = command;
  command = newCommand;

  if (command == Drag) {
    pickTarget(Drag);
    velocityX = targetX - spriteWidth / 2 - x;
    velocityY = targetY - y - DRAG_HOLD_ABOVE_CURSOR;
    if (previousCommand == Tick) {
      nextRandom();  // keeps the run's sequence of draws; the value is not used
      animation = slot::ACT;
      currentFrame = &drawing.animations[slot::ACT];
      rearmTimer(DRAG_PERIOD_MS);
    }
  }

  if (command == Tick) {
    if (previousCommand == Drag) {
      followArea();  // dropped maybe on another monitor: its new walks belong there
      animation = nextRandom() % 2 + 1;  // WALK or FAILED
      currentFrame = &drawing.animations[animation];
      rearmTimer(timerPeriod);
      motionKind = motionKinds[animation];
      pickTarget(Tick);
    } else {
      chooseBehaviour();
      behaviourTicks += 1;
      updateVelocity();
    }
  }

  if (command == KeyStep) {
    const ArrowStep* step = arrowStepFor(pendingDirection);
    if (step && roomAhead(*step, insetBy(home.work, KEY_BOUND), x, y)) {
      rearmTimer(step->dx ? sideStepPeriod(timerPeriod) : timerPeriod);
      targetX = x + step->dx * KEY_TARGET_DISTANCE;
      targetY = y + step->dy * KEY_TARGET_DISTANCE;
      velocityX = step->dx * margin;
      velocityY = step->dy * margin;
    }
  }

  // Frames only move forward; the last one wraps through the head to the first.
  // A list with no frames leaves the pet on its head, which draws nothing.
  FrameNode* from = currentFrame;
  if (!from || !from->next) from = &drawing.animations[animation];
  currentFrame = from->next ? from->next : from;

  x += velocityX;
  y += velocityY;
  if (command != Drag && (velocityX || velocityY)) followAcrossSeam();

  facing = FACING_AS_STORED;
  if ((command == Tick || command == KeyStep) && x <= targetX) facing = FACING_MIRRORED;

  composeAndPaint();
  --scale.busy;
  applyPendingChange();  // a change of scale that came in the middle of the step
}

void DesktopPet::setKeyDirection(int32_t code) {
  animation = pendingDirection;
  currentFrame = &drawing.animations[animation];
  pendingDirection = code;
}
