#pragma once
#include "art/canvas.h"

// Small hand-drawn pieces: facial features, effects, the cursor and a label font.
namespace art::sprites {

const PixelMap& eyeOpen();
const PixelMap& eyeWide();
const PixelMap& eyeHappy();
const PixelMap& eyeSqueezeLeft();
const PixelMap& eyeCross();
const PixelMap& eyeSwirl();
const PixelMap& eyeSmall();       // for the icon
const PixelMap& nose();
const PixelMap& noseSmall();      // for the icon
const PixelMap& mouthSmile();
const PixelMap& mouthGrin();
const PixelMap& mouthFrown();
const PixelMap& mouthOh();
const PixelMap& frostMark();
const PixelMap& blush();
const PixelMap& star();
const PixelMap& sweatDrop();
const PixelMap& pawPads();
const PixelMap& cursor();          // 32 x 32, hot spot at 5, 8
const PixelMap* glyph(char letter);  // 5 x 7, upper case and digits; null if missing

}  // namespace art::sprites
