#pragma once
#include <array>

#include "art/canvas.h"
#include "art/geometry.h"

namespace art {

constexpr int kFrameWidth = 100;
constexpr int kFrameHeight = 105;

enum class Eyes { Open, Wide, Happy, Squeeze, Cross, Swirl };
enum class Mouth { Smile, Grin, Frown, Oh };

enum LegIndex { FarFront = 0, NearFront = 1, FarBack = 2, NearBack = 3 };

struct LegPose {
  double swing = 0;  // degrees about the hip; positive swings the paw forward (left)
  double lift = 0;   // pixels the paw is drawn up towards the hip
};

// Everything that changes between frames. Coordinates are those of the
// standing pup in a 100 x 105 frame, facing left, paws on y = 99.
struct Pose {
  Vec shift;
  double tilt = 0;  // whole pup about tiltPivot
  Vec tiltPivot{60, 99};

  double bodyTilt = 0;  // body, legs and tail about the neck
  double bodyDrop = 0;

  Vec headShift;
  double headTilt = 0;  // about the neck
  double faceTurn = 0;  // -1..1, slides the face across the head to look aside

  std::array<LegPose, 4> legs{};
  double tailWag = 0;  // degrees about the tail's root

  bool waving = false;  // the near front leg is raised to wavePaw instead
  Vec wavePaw;
  bool waveMarks = false;

  Eyes eyes = Eyes::Open;
  Mouth mouth = Mouth::Smile;
  bool scruffHeld = false;
  bool earsBack = false;
  bool sweat = false;
  bool kickMarks = false;
  int dizzyStars = -1;  // orbit phase of the dizzy stars, -1 for none
};

Canvas drawPup(const Pose& pose);

// The head alone, 32 x 32, for the program icon.
Canvas drawIconHead();

}  // namespace art
