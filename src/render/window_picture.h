#pragma once
#include <cstdint>

struct FrameNode;

// What the pet's window shows now. A step that would show the same frame in the
// same facing, at the same spot and scale, paints nothing and moves nothing.
struct WindowPicture {
  const FrameNode* frame = nullptr;
  int32_t facing = 0;
  int32_t x = 0;      // the sprite's spot, in the pet's pixels
  int32_t y = 0;
  int32_t scale = 0;  // 0 while the window holds no picture of the pet
  int32_t hidden = 0; // hidden by the pet while a full-screen program is in front
};
