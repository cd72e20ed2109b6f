#pragma once
#include <cstdint>

// Animation slots: the index into DesktopPet::animations and motionKinds.
namespace slot {
constexpr int32_t STAND = 0;
constexpr int32_t WALK = 1;
constexpr int32_t FAILED = 2;
constexpr int32_t HAPPY = 3;
constexpr int32_t HI = 4;
constexpr int32_t NO = 5;
constexpr int32_t RIGHT = 6;
constexpr int32_t ACT = 11;
constexpr int32_t COUNT = 13;
}  // namespace slot

namespace motion {
constexpr int32_t WALKS = 1;   // walks toward the target
constexpr int32_t STANDS = 2;  // stands still
}  // namespace motion

struct AnimationEntry {
  const char* name;  // frame resources are this name plus the frame number from 1
  int32_t frameCount;
  int32_t slot;
  int32_t motionKind;
};

// In the order the program loads them.
constexpr int32_t ANIMATION_COUNT = 8;
extern const AnimationEntry animationTable[ANIMATION_COUNT];

constexpr int32_t TOTAL_FRAME_COUNT = 29;
