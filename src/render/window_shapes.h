#pragma once
#include <windows.h>

#include <vector>

struct FrameNode;

// The window's shape for every frame in both facings, made once when the pet
// settles. The system shows and hit-tests only the pup's own pixels: the
// desktop around it stays live, and a click beside the pup reaches whatever
// lies beneath.
struct WindowShapes {
  struct FrameShape {
    const FrameNode* frame;
    HRGN asStored;
    HRGN mirrored;
  };
  std::vector<FrameShape> frames;
  HRGN empty = nullptr;  // a list head draws nothing
  HRGN shown = nullptr;  // the prepared shape whose copy the window has now
};
