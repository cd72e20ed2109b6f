#include <algorithm>

#include "art/art.h"
#include "art/frames.h"
#include "art/png.h"
#include "art/pup.h"
#include "art/sprites.h"

namespace art {
namespace {

constexpr int kFrameScale = 3;
constexpr int kSmallScale = 6;
constexpr int kMargin = 12;
constexpr int kGap = 12;
constexpr int kLabelScale = 3;
constexpr int kLabelHeight = 7 * kLabelScale + 8;
constexpr int kChecker = 12;
const Rgb kBackground{46, 50, 60};
const Rgb kLabel{226, 234, 246};

class Sheet {
 public:
  Sheet(int width, int height) {
    image_.width = width;
    image_.height = height;
    image_.rgb.resize(static_cast<std::size_t>(width * height * 3));
    fill(0, 0, width, height, kBackground);
  }

  void put(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
    const std::size_t at = static_cast<std::size_t>((y * image_.width + x) * 3);
    image_.rgb[at] = colour.r;
    image_.rgb[at + 1] = colour.g;
    image_.rgb[at + 2] = colour.b;
  }

  void fill(int left, int top, int width, int height, Rgb colour) {
    for (int y = top; y < top + height; ++y)
      for (int x = left; x < left + width; ++x) put(x, y, colour);
  }

  // Key pixels become a checkerboard so the figure is judged as it will look on a desktop.
  void drawCanvas(const Canvas& canvas, int left, int top, int scale) {
    for (int y = 0; y < canvas.height() * scale; ++y) {
      for (int x = 0; x < canvas.width() * scale; ++x) {
        const std::uint8_t value = canvas.at(x / scale, y / scale);
        put(left + x, top + y, value == ink::Key ? checker(x, y) : palette()[value]);
      }
    }
  }

  void drawText(const std::string& text, int left, int top) {
    for (char letter : text) {
      if (const PixelMap* glyph = sprites::glyph(letter)) {
        for (std::size_t row = 0; row < glyph->size(); ++row)
          for (std::size_t column = 0; column < (*glyph)[row].size(); ++column)
            if ((*glyph)[row][column] == '#')
              fill(left + static_cast<int>(column) * kLabelScale, top + static_cast<int>(row) * kLabelScale,
                   kLabelScale, kLabelScale, kLabel);
      }
      left += 6 * kLabelScale;
    }
  }

  const RgbImage& image() const { return image_; }

 private:
  static Rgb checker(int x, int y) {
    return ((x / kChecker + y / kChecker) % 2 == 0) ? Rgb{204, 206, 210} : Rgb{228, 230, 234};
  }
  RgbImage image_;
};

// The 1-bit cursor as the screen shows it: black, white or see-through.
Canvas oneBitLook(const Canvas& cursor) {
  Canvas look(cursor.width(), cursor.height());
  for (int y = 0; y < cursor.height(); ++y) {
    for (int x = 0; x < cursor.width(); ++x) {
      const std::uint8_t value = cursor.at(x, y);
      if (value == ink::Key) continue;
      look.set(x, y, isWhiteInMonochrome(value) ? ink::White : ink::Black);
    }
  }
  return look;
}

}  // namespace

Bytes drawContactSheet() {
  const std::vector<Animation> animations = drawAnimations();
  std::size_t mostFrames = 0;
  for (const Animation& animation : animations) mostFrames = std::max(mostFrames, animation.frames.size());
  const int cellWidth = kFrameWidth * kFrameScale;
  const int rowHeight = kLabelHeight + kFrameHeight * kFrameScale + kGap;
  const int smallSize = 32 * kSmallScale;
  const int width = kMargin * 2 + static_cast<int>(mostFrames) * (cellWidth + kGap) - kGap;
  const int height = kMargin + static_cast<int>(animations.size()) * rowHeight + kLabelHeight + smallSize + kMargin;
  Sheet sheet(width, height);

  int top = kMargin;
  for (const Animation& animation : animations) {
    sheet.drawText(animation.name, kMargin, top);
    int left = kMargin;
    for (const Canvas& frame : animation.frames) {
      sheet.drawCanvas(frame, left, top + kLabelHeight, kFrameScale);
      left += cellWidth + kGap;
    }
    top += rowHeight;
  }
  sheet.drawText("ICON", kMargin, top);
  sheet.drawText("CURSOR", kMargin + smallSize + kGap, top);
  sheet.drawCanvas(drawIcon(), kMargin, top + kLabelHeight, kSmallScale);
  sheet.drawCanvas(drawCursor(), kMargin + smallSize + kGap, top + kLabelHeight, kSmallScale);
  sheet.drawCanvas(oneBitLook(drawCursor()), kMargin + 2 * (smallSize + kGap), top + kLabelHeight, kSmallScale);
  return encodePng(sheet.image());
}

}  // namespace art
