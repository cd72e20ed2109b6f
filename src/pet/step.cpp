#include "pet/desktop_pet.h"
#include "pet/random.h"

namespace {
constexpr int32_t DRAG_PERIOD_MS = 70;
// An arrow key starts no new steps toward an edge of the work area this close;
// the pet goes on with the velocity it has.
constexpr int32_t KEY_BOUND = 150;
constexpr int32_t KEY_TARGET_DISTANCE = 50;
constexpr int32_t DRAG_HOLD_ABOVE_CURSOR = 10;
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
      currentFrame = &animations[slot::ACT];
      rearmTimer(DRAG_PERIOD_MS);
    }
  }

  if (command == Tick) {
    if (previousCommand == Drag) {
      followArea();  // dropped maybe on another monitor: its new walks belong there
      animation = nextRandom() % 2 + 1;  // WALK or FAILED
      currentFrame = &animations[animation];
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
    const int32_t sideStepPeriod = 2 * timerPeriod / 3;
    const PixelRect bounds = insetBy(home.work, KEY_BOUND);
    switch (pendingDirection) {
      case DIRECTION_LEFT:
        if (x > bounds.left) {
          rearmTimer(sideStepPeriod);
          targetX = x - KEY_TARGET_DISTANCE;
          targetY = y;
          velocityX = -margin;
          velocityY = 0;
        }
        break;
      case DIRECTION_RIGHT:
        if (x < rightOf(bounds)) {
          rearmTimer(sideStepPeriod);
          targetX = x + KEY_TARGET_DISTANCE;
          targetY = y;
          velocityX = margin;
          velocityY = 0;
        }
        break;
      case DIRECTION_UP:
        if (y > bounds.top) {
          rearmTimer(timerPeriod);
          targetX = x;
          targetY = y - KEY_TARGET_DISTANCE;
          velocityX = 0;
          velocityY = -margin;
        }
        break;
      case DIRECTION_DOWN:
        if (y < bottomOf(bounds)) {
          rearmTimer(timerPeriod);
          targetX = x;
          targetY = y + KEY_TARGET_DISTANCE;
          velocityX = 0;
          velocityY = margin;
        }
        break;
      default:
        break;
    }
  }

  // Frames only move forward; the last one wraps through the head to the first.
  // A list with no frames leaves the pet on its head, which draws nothing.
  FrameNode* from = currentFrame;
  if (!from || !from->next) from = &animations[animation];
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
  currentFrame = &animations[animation];
  pendingDirection = code;
}
