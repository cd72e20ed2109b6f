#pragma once
#include <string>
#include <vector>

#include "art/canvas.h"

namespace art {

struct Animation {
  std::string name;  // frame files are this name plus the frame number from 1
  std::vector<Canvas> frames;
};

// All animations in the order the program loads them.
std::vector<Animation> drawAnimations();

}  // namespace art
