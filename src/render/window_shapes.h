#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

struct FrameNode;

// How the window takes the pup's shape, decided once when the pet settles. The
// system shows and hit-tests only the pup's own pixels either way: the desktop
// around it stays live, and a click beside the pup reaches whatever lies beneath.
// Where it can be trusted, the window is layered with a colour key that no pixel
// of the pup has, and its picture is the pup over that key. Where it cannot (a
// palette display, or a system that refuses the key), the window gets a region
// made for every frame in both facings.
struct WindowShapes {
  struct FrameShape {
    const FrameNode* frame;
    HRGN asStored;
    HRGN mirrored;
  };
  int32_t keyed = 0;
  COLORREF key = RGB(255, 0, 255);  // the ground of the window's picture
  std::vector<FrameShape> frames;   // the regions, when not keyed
  HRGN empty = nullptr;             // a list head draws nothing
  HRGN shown = nullptr;             // the prepared shape whose copy the window has now
};
