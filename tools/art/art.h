#pragma once
#include <string>
#include <vector>

#include "art/bytes.h"
#include "art/canvas.h"
#include "art/ico_cur.h"

namespace art {

struct GeneratedFile {
  std::string path;  // relative to the resources folder, '/' separated
  Bytes bytes;
};

constexpr HotSpot kCursorHotSpot{5, 8};

Canvas drawIcon();
Canvas drawCursor();

// Every resource file the program is built with.
std::vector<GeneratedFile> generateArt();

// All frames, the icon and the cursor enlarged on one PNG for review.
Bytes drawContactSheet();

}  // namespace art
