#include "art/frames.h"

#include <algorithm>
#include <cmath>

#include "art/pup.h"

namespace art {
namespace {

const double kPi = 3.14159265358979323846;

Pose standing() { return Pose{}; }

std::vector<Canvas> walk() {
  std::vector<Canvas> frames;
  for (int i = 0; i < 5; ++i) {
    const double phase = 2 * kPi * i / 5.0;
    Pose pose;
    // Diagonal pairs move together, as a trotting pup's legs do.
    const double stride = 24;
    const double swingA = stride * std::sin(phase);
    const double swingB = -swingA;
    const double liftA = std::max(0.0, 3.5 * std::cos(phase));
    const double liftB = std::max(0.0, -3.5 * std::cos(phase));
    pose.legs[NearFront] = {swingA, liftA};
    pose.legs[FarBack] = {swingA, liftA};
    pose.legs[FarFront] = {swingB, liftB};
    pose.legs[NearBack] = {swingB, liftB};
    const double bob = -1.5 * std::fabs(std::cos(phase));
    pose.bodyDrop = bob + 1;
    pose.headShift = {0, bob + 1};
    pose.tailWag = 8 * std::sin(phase);
    frames.push_back(drawPup(pose));
  }
  return frames;
}

std::vector<Canvas> lifted() {
  std::vector<Canvas> frames;
  for (int i = 0; i < 2; ++i) {
    Pose pose;
    pose.shift = {4, -12};
    pose.bodyTilt = 30;
    pose.headTilt = 6;
    pose.scruffHeld = true;
    pose.earsBack = true;
    // Held up by the scruff: legs hang and kick, one diagonal pair drawn up in turn.
    const bool first = i == 0;
    pose.legs[NearFront] = {first ? 4.0 : -26.0, first ? 5.0 : 0.0};
    pose.legs[FarBack] = {first ? -4.0 : -30.0, first ? 4.0 : 1.0};
    pose.legs[FarFront] = {first ? -28.0 : 2.0, first ? 0.0 : 5.0};
    pose.legs[NearBack] = {first ? -32.0 : -6.0, first ? 0.0 : 5.0};
    pose.tailWag = first ? -12 : -4;
    pose.eyes = Eyes::Squeeze;
    pose.mouth = Mouth::Oh;
    pose.kickMarks = true;
    frames.push_back(drawPup(pose));
  }
  return frames;
}

std::vector<Canvas> failed() {
  std::vector<Canvas> frames;
  Pose stumble;
  stumble.tilt = -8;
  stumble.tiltPivot = {44, 99};
  stumble.shift = {2, 0};
  stumble.legs[NearFront] = {22, 0};
  stumble.legs[FarBack] = {-20, 3};
  stumble.eyes = Eyes::Wide;
  stumble.mouth = Mouth::Oh;
  stumble.sweat = true;
  frames.push_back(drawPup(stumble));

  Pose tip = stumble;
  tip.tilt = -20;
  tip.shift = {17, 1};
  tip.legs[NearFront] = {45, 2};
  tip.legs[FarFront] = {35, 2};
  tip.legs[NearBack] = {-30, 0};
  tip.legs[FarBack] = {-40, 2};
  tip.eyes = Eyes::Squeeze;
  tip.tailWag = -15;
  frames.push_back(drawPup(tip));

  Pose fall = tip;
  fall.tilt = -32;
  fall.shift = {20, 3};
  fall.tailWag = -45;
  fall.earsBack = true;
  fall.legs[NearFront] = {70, 2};
  fall.legs[FarFront] = {60, 2};
  fall.legs[NearBack] = {-55, 0};
  fall.legs[FarBack] = {-65, 2};
  fall.sweat = false;
  frames.push_back(drawPup(fall));

  Pose flat;
  flat.bodyDrop = 9;
  flat.headShift = {2, 30};
  flat.headTilt = -6;
  flat.legs[NearFront] = {80, 3};
  flat.legs[FarFront] = {75, 3};
  flat.legs[NearBack] = {-85, 0};
  flat.legs[FarBack] = {-80, 2};
  flat.tailWag = -35;
  flat.eyes = Eyes::Cross;
  flat.mouth = Mouth::Oh;
  frames.push_back(drawPup(flat));

  Pose dizzy = flat;
  dizzy.eyes = Eyes::Swirl;
  dizzy.mouth = Mouth::Frown;
  dizzy.dizzyStars = 0;
  frames.push_back(drawPup(dizzy));
  return frames;
}

std::vector<Canvas> happy() {
  std::vector<Canvas> frames;
  Pose crouch;
  crouch.bodyDrop = 2;
  crouch.headShift = {0, 2};
  for (LegPose& leg : crouch.legs) leg.lift = 2;
  crouch.tailWag = 12;
  crouch.eyes = Eyes::Happy;
  crouch.mouth = Mouth::Grin;
  frames.push_back(drawPup(crouch));

  Pose jump;
  jump.shift = {0, -7};
  jump.legs[NearFront] = {18, 0};
  jump.legs[FarFront] = {22, 0};
  jump.legs[NearBack] = {-18, 0};
  jump.legs[FarBack] = {-22, 0};
  jump.tailWag = -18;
  jump.eyes = Eyes::Happy;
  jump.mouth = Mouth::Grin;
  frames.push_back(drawPup(jump));
  return frames;
}

std::vector<Canvas> wave() {
  // The paw comes up, then swings between two heights beside the chin.
  const Vec paws[5] = {{28, 80}, {13, 68}, {8, 59}, {13, 68}, {8, 59}};
  std::vector<Canvas> frames;
  for (int i = 0; i < 5; ++i) {
    Pose pose;
    pose.shift = {2, 0};
    pose.waving = true;
    pose.wavePaw = paws[i];
    pose.waveMarks = i == 2 || i == 4;
    pose.headTilt = i == 0 ? 0 : 4;
    pose.headShift = {i == 0 ? 0.0 : 1.5, 0};
    pose.faceTurn = i == 0 ? 0.0 : 0.3;
    pose.tailWag = i % 2 == 0 ? -8 : -18;
    pose.eyes = i == 0 ? Eyes::Open : Eyes::Happy;
    pose.mouth = Mouth::Grin;
    frames.push_back(drawPup(pose));
  }
  return frames;
}

std::vector<Canvas> shakeHead() {
  std::vector<Canvas> frames;
  for (int i = 0; i < 6; ++i) {
    const double turn = std::sin(2 * kPi * (i + 0.5) / 6.0);
    Pose pose;
    pose.faceTurn = turn;
    pose.headShift = {1.5 * turn, 0};
    pose.headTilt = 4 * turn;
    pose.mouth = Mouth::Frown;
    frames.push_back(drawPup(pose));
  }
  return frames;
}

std::vector<Canvas> nod() {
  const double drops[3] = {0, 3.5, 1.5};
  const double tilts[3] = {0, -7, -3};
  std::vector<Canvas> frames;
  for (int i = 0; i < 3; ++i) {
    Pose pose;
    pose.headShift = {0, drops[i]};
    pose.headTilt = tilts[i];
    pose.eyes = i == 1 ? Eyes::Happy : Eyes::Open;
    frames.push_back(drawPup(pose));
  }
  return frames;
}

}  // namespace

std::vector<Animation> drawAnimations() {
  return {
      {"STAND", {drawPup(standing())}},
      {"WALK", walk()},
      {"ACT", lifted()},
      {"FAILED", failed()},
      {"HAPPY", happy()},
      {"HI", wave()},
      {"NO", shakeHead()},
      {"RIGHT", nod()},
  };
}

}  // namespace art
