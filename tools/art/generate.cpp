#include "art/art.h"
#include "art/bmp.h"
#include "art/frames.h"
#include "art/pup.h"
#include "art/sprites.h"

namespace art {

Canvas drawIcon() { return drawIconHead(); }

Canvas drawCursor() {
  Canvas canvas(32, 32);
  stamp(canvas, sprites::cursor(), 0, 0);
  return canvas;
}

std::vector<GeneratedFile> generateArt() {
  std::vector<GeneratedFile> files;
  for (const Animation& animation : drawAnimations()) {
    for (std::size_t i = 0; i < animation.frames.size(); ++i) {
      files.push_back({"art/" + animation.name + std::to_string(i + 1) + ".bmp",
                       encodeFrameBitmap(animation.frames[i])});
    }
  }
  files.push_back({"frostfang.ico", encodeIconFile(drawIcon())});
  CursorImages cursor = encodeCursor(drawCursor(), kCursorHotSpot);
  files.push_back({"cursor/cursor-1bit.bin", std::move(cursor.oneBit)});
  files.push_back({"cursor/cursor-8bit.bin", std::move(cursor.eightBit)});
  files.push_back({"cursor/cursor-group.bin", std::move(cursor.group)});
  files.push_back({"frostfang.cur", std::move(cursor.file)});
  return files;
}

}  // namespace art
