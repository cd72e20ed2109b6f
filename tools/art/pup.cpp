#include "art/pup.h"

#include <cmath>

#include "art/shapes.h"
#include "art/sprites.h"

namespace art {
namespace {

const Ramp kFur{ink::White, ink::FurLight, ink::FurMid, 0.35, 0.8};
const Ramp kHeadFur{ink::White, ink::FurLight, ink::FurMid, 0.5, 0.85};
const Ramp kFarFur{ink::FurLight, ink::FurMid, ink::FurDeep, 0.3, 0.85};
const Ramp kMuzzle{ink::White, ink::White, ink::FurLight, 0.5, 0.55};
const Ramp kIce{ink::IceLight, ink::Ice, ink::IceDeep, 0.05, 0.65};
const Ramp kEarInside{ink::Ice, ink::Ice, ink::IceDeep, 0.5, 0.5};

// The pup is drawn a little under its layout size to leave room for jumps and waves.
constexpr double kScale = 0.92;
const Vec kScalePivot{50, 101};
const Vec kBaseShift{-2, 0};

// The standing pup's skeleton.
const Vec kNeck{46, 64};
const Vec kHeadCentre{38, 42};
const Vec kBodyCentre{62, 77};
const Vec kShoulder{46, 75};
const Vec kTailRoot{81, 73};

struct LegPlan {
  Vec hip;
  Vec paw;
  double radius;
  bool near;
};

const LegPlan kLegs[4] = {
    {{42, 84}, {41, 95}, 4.0, false},    // far front
    {{49, 86}, {48, 96.5}, 4.5, true},   // near front
    {{68, 84}, {69, 95}, 4.0, false},    // far back
    {{77, 85}, {77, 96.5}, 4.5, true},   // near back
};

Layer legLayer(const Affine& body, const LegPlan& plan, const LegPose& pose, bool withHaunch) {
  const Affine place = body * Affine::rotationAbout(pose.swing, plan.hip);
  const Vec reach = plan.paw - plan.hip;
  const double length = std::sqrt(dot(reach, reach));
  const Vec paw = lerp(plan.hip, plan.paw, (length - pose.lift) / length);
  const Ramp& ramp = plan.near ? kFur : kFarFur;
  Layer layer;
  if (withHaunch) {
    const Affine thigh = body * Affine::rotationAbout(pose.swing * 0.35, plan.hip);
    layer.parts.push_back({ellipse(plan.hip + Vec{-1, -5}, 9, 10), ramp, thigh});
  }
  layer.parts.push_back({capsule(plan.hip, paw, plan.radius, plan.radius), ramp, place});
  layer.parts.push_back({ellipse(paw + Vec{-1.5, 0.5}, plan.radius + 1.5, 3.5), ramp, place});
  return layer;
}

void drawToes(Canvas& canvas, const Affine& body, const LegPlan& plan, const LegPose& pose) {
  const Affine place = body * Affine::rotationAbout(pose.swing, plan.hip);
  const Vec reach = plan.paw - plan.hip;
  const double length = std::sqrt(dot(reach, reach));
  const Vec paw = lerp(plan.hip, plan.paw, (length - pose.lift) / length);
  for (double dx : {-4.0, -1.5}) {
    const Vec toe = place.apply(paw + Vec{dx, 2.5});
    canvas.set(static_cast<int>(std::floor(toe.x)), static_cast<int>(std::floor(toe.y)), ink::FurMid);
  }
}

Layer tailLayer(const Affine& body, double wag) {
  const Affine place = body * Affine::rotationAbout(wag, kTailRoot);
  const Vec spine[] = {kTailRoot, {88, 70}, {92, 61}, {90, 51}, {84, 44}};
  const double radius[] = {4.5, 7, 8, 6.5, 3};
  Layer layer;
  layer.parts.push_back({triangle({84, 71}, {91, 67}, {91, 76}), kFur, place});
  layer.parts.push_back({triangle({95, 64}, {95, 55}, {100, 59}), kFur, place});
  layer.parts.push_back({triangle({92, 52}, {97, 50}, {94, 46}), kIce, place});
  for (int i = 0; i < 4; ++i) {
    layer.parts.push_back({capsule(spine[i], spine[i + 1], radius[i], radius[i + 1]), i == 3 ? kIce : kFur, place});
  }
  layer.parts.push_back({triangle({82, 47}, {88, 43}, {80, 40}), kIce, place});
  return layer;
}

Layer bodyLayer(const Affine& body) {
  Layer layer;
  layer.parts.push_back({ellipse(kBodyCentre, 21, 13.5), kFur, body});
  layer.parts.push_back({ellipse({49, 73}, 10, 10), kFur, body});
  layer.parts.push_back({triangle({38, 65}, {47, 68}, {39, 76}), kFur, body});
  layer.parts.push_back({triangle({44, 70}, {52, 72}, {45, 80}), kFur, body});
  return layer;
}

Layer collarLayer(const Affine& body) {
  Layer layer;
  layer.parts.push_back({capsule({34, 62}, {56, 64}, 3.0, 3.0), kIce, body});
  layer.parts.push_back({circle({46, 68.5}, 2.6), Ramp{ink::IceLight, ink::IceLight, ink::Ice, 0.4, 0.4}, body});
  return layer;
}

void addEars(Layer& layer, const Affine& head, bool pressedBack) {
  if (pressedBack) {
    layer.parts.push_back({triangle({16, 30}, {34, 21}, {30, 9}), kFur, head});
    layer.parts.push_back({triangle({44, 21}, {62, 32}, {71, 15}), kFur, head});
    layer.parts.push_back({triangle({20, 26}, {30, 21}, {29, 13}), kEarInside, head});
    layer.parts.push_back({triangle({49, 22}, {60, 28}, {66, 19}), kEarInside, head});
    return;
  }
  layer.parts.push_back({triangle({14, 31}, {32, 24}, {14, 5}), kFur, head});
  layer.parts.push_back({triangle({42, 22}, {61, 30}, {59, 4}), kFur, head});
  layer.parts.push_back({triangle({18, 27}, {28, 24}, {17, 11}), kEarInside, head});
  layer.parts.push_back({triangle({46, 23}, {57, 27}, {56, 9}), kEarInside, head});
}

Layer headLayer(const Affine& head, bool earsBack, bool scruffHeld) {
  Layer layer;
  addEars(layer, head, earsBack);
  if (scruffHeld) layer.parts.push_back({triangle({58, 40}, {66, 50}, {72, 32}), kFur, head});
  layer.parts.push_back({ellipse(kHeadCentre, 25, 20.5), kHeadFur, head});
  layer.parts.push_back({triangle({59, 45}, {60, 56}, {68, 53}), kFur, head});
  layer.parts.push_back({triangle({53, 56}, {57, 63}, {63, 59}), kFur, head});
  layer.parts.push_back({triangle({33, 60}, {43, 61}, {36, 66}), kFur, head});
  layer.parts.push_back({triangle({30, 24}, {39, 22}, {32, 15}), kFur, head});
  layer.parts.push_back({triangle({36, 23}, {45, 23}, {42, 15}), kFur, head});
  return layer;
}

Layer muzzleLayer(const Affine& head, double faceTurn) {
  Layer layer;
  layer.innerLine = ink::FurMid;
  layer.parts.push_back({ellipse({19.5 + 5 * faceTurn, 52}, 10.5, 7.5), kMuzzle, head});
  return layer;
}

void drawEyes(Canvas& canvas, const Affine& head, Eyes eyes, double faceTurn) {
  const Vec farEye = head.apply({25 + 4 * faceTurn, 41});
  const Vec nearEye = head.apply({46 + 4 * faceTurn, 41});
  switch (eyes) {
    case Eyes::Open:
      stampCentred(canvas, sprites::eyeOpen(), farEye.x, farEye.y);
      stampCentred(canvas, sprites::eyeOpen(), nearEye.x, nearEye.y);
      break;
    case Eyes::Wide:
      stampCentred(canvas, sprites::eyeWide(), farEye.x, farEye.y);
      stampCentred(canvas, sprites::eyeWide(), nearEye.x, nearEye.y);
      break;
    case Eyes::Happy:
      stampCentred(canvas, sprites::eyeHappy(), farEye.x, farEye.y);
      stampCentred(canvas, sprites::eyeHappy(), nearEye.x, nearEye.y);
      break;
    case Eyes::Squeeze:
      stampCentred(canvas, sprites::eyeSqueezeLeft(), farEye.x, farEye.y);
      stampCentred(canvas, mirrored(sprites::eyeSqueezeLeft()), nearEye.x, nearEye.y);
      break;
    case Eyes::Cross:
      stampCentred(canvas, sprites::eyeCross(), farEye.x, farEye.y);
      stampCentred(canvas, sprites::eyeCross(), nearEye.x, nearEye.y);
      break;
    case Eyes::Swirl:
      stampCentred(canvas, sprites::eyeSwirl(), farEye.x, farEye.y);
      stampCentred(canvas, mirrored(sprites::eyeSwirl()), nearEye.x, nearEye.y);
      break;
  }
}

const PixelMap& mouthMap(Mouth mouth) {
  switch (mouth) {
    case Mouth::Grin: return sprites::mouthGrin();
    case Mouth::Frown: return sprites::mouthFrown();
    case Mouth::Oh: return sprites::mouthOh();
    case Mouth::Smile: break;
  }
  return sprites::mouthSmile();
}

void drawFace(Canvas& canvas, const Affine& head, const Pose& pose) {
  const double turn = pose.faceTurn;
  drawEyes(canvas, head, pose.eyes, turn);
  const Vec nose = head.apply({12 + 5 * turn, 47.5});
  stampCentred(canvas, sprites::nose(), nose.x, nose.y);
  const Vec mouth = head.apply({15 + 5 * turn, 54});
  stampCentred(canvas, mouthMap(pose.mouth), mouth.x, mouth.y);
  const Vec blush = head.apply({48 + 4 * turn, 49.5});
  stampCentred(canvas, sprites::blush(), blush.x, blush.y);
  const Vec mark = head.apply({37 + 3 * turn, 29});
  stampCentred(canvas, sprites::frostMark(), mark.x, mark.y);
}

void drawWavingLeg(Canvas& canvas, const Affine& body, Vec paw) {
  // A slight bend at the elbow keeps the raised leg from looking like a stick.
  const Vec reach = paw - kShoulder;
  const Vec elbow = lerp(kShoulder, paw, 0.5) + normalised({-reach.y, reach.x}) * -3.0;
  Layer arm;
  arm.parts.push_back({capsule(kShoulder, elbow, 5, 4.5), kFur, body});
  arm.parts.push_back({capsule(elbow, paw, 4.5, 4.5), kFur, body});
  arm.parts.push_back({circle(paw, 6), kFur, body});
  drawLayer(canvas, arm);
  const Vec pads = body.apply(paw);
  stampCentred(canvas, sprites::pawPads(), pads.x, pads.y + 0.5);
}

// Short arcs beside the raised paw so the wave reads as movement.
void drawWaveMarks(Canvas& canvas, const Affine& body, Vec paw) {
  const Vec centre = body.apply(paw);
  for (double angle : {-140.0, -110.0, -80.0}) {
    const double radians = angle * 3.14159265358979323846 / 180.0;
    for (double r = 8.5; r < 11.5; r += 1.0) {
      canvas.set(static_cast<int>(std::floor(centre.x + r * std::cos(radians))),
                 static_cast<int>(std::floor(centre.y + r * std::sin(radians))), ink::Outline);
    }
  }
}

void drawStars(Canvas& canvas, const Affine& head, int phase) {
  const double pi = 3.14159265358979323846;
  for (int i = 0; i < 3; ++i) {
    const double angle = 2 * pi * (i / 3.0 + phase / 6.0 + 0.25);
    const Vec at = head.apply({38 + 22 * std::cos(angle), -4 + 5 * std::sin(angle)});
    stampCentred(canvas, sprites::star(), at.x, at.y);
  }
}

void drawKickMarks(Canvas& canvas, const Affine& body) {
  for (Vec from : {Vec{34, 92}, Vec{86, 94}}) {
    const Vec a = body.apply(from);
    for (int i = 0; i < 3; ++i) canvas.set(static_cast<int>(a.x) + (from.x < 60 ? -i : i), static_cast<int>(a.y) + i, ink::Outline);
  }
}

// Little strain lines where the scruff is pinched.
void drawScruffMarks(Canvas& canvas, const Affine& head) {
  const Vec strokes[3][2] = {{{74, 28}, {1, -1}}, {{77, 34}, {1, 0}}, {{70, 25}, {0, -1}}};
  for (const auto& stroke : strokes) {
    for (int i = 0; i < 3; ++i) {
      const Vec at = head.apply(stroke[0] + stroke[1] * i);
      canvas.set(static_cast<int>(std::floor(at.x)), static_cast<int>(std::floor(at.y)), ink::Outline);
    }
  }
}

}  // namespace

Canvas drawPup(const Pose& pose) {
  Canvas canvas(kFrameWidth, kFrameHeight);
  const Affine whole = Affine::translation(pose.shift + kBaseShift) * Affine::rotationAbout(pose.tilt, pose.tiltPivot) *
                      Affine::scalingAbout(kScale, kScalePivot);
  const Affine body =
      whole * Affine::rotationAbout(pose.bodyTilt, kNeck) * Affine::translation({0, pose.bodyDrop});
  const Affine head = whole * Affine::translation(pose.headShift) * Affine::rotationAbout(pose.headTilt, kNeck);

  drawLayer(canvas, legLayer(body, kLegs[FarBack], pose.legs[FarBack], false));
  drawLayer(canvas, legLayer(body, kLegs[FarFront], pose.legs[FarFront], false));
  drawLayer(canvas, tailLayer(body, pose.tailWag));
  drawLayer(canvas, bodyLayer(body));
  drawLayer(canvas, legLayer(body, kLegs[NearBack], pose.legs[NearBack], true));
  drawToes(canvas, body, kLegs[NearBack], pose.legs[NearBack]);
  if (!pose.waving) {
    drawLayer(canvas, legLayer(body, kLegs[NearFront], pose.legs[NearFront], false));
    drawToes(canvas, body, kLegs[NearFront], pose.legs[NearFront]);
  }
  drawLayer(canvas, collarLayer(body));
  drawLayer(canvas, headLayer(head, pose.earsBack, pose.scruffHeld));
  drawLayer(canvas, muzzleLayer(head, pose.faceTurn));
  drawFace(canvas, head, pose);
  if (pose.waving) drawWavingLeg(canvas, body, pose.wavePaw);
  if (pose.waving && pose.waveMarks) drawWaveMarks(canvas, body, pose.wavePaw);
  if (pose.sweat) {
    const Vec drop = head.apply({66, 30});
    stampCentred(canvas, sprites::sweatDrop(), drop.x, drop.y);
  }
  if (pose.kickMarks) drawKickMarks(canvas, body);
  if (pose.scruffHeld) drawScruffMarks(canvas, head);
  if (pose.dizzyStars >= 0) drawStars(canvas, head, pose.dizzyStars);
  return canvas;
}

// The icon is drawn for its own size rather than shrunk, so the eyes stay readable.
Canvas drawIconHead() {
  Canvas canvas(32, 32);
  const Affine place;
  Layer head;
  head.parts.push_back({triangle({5, 15}, {14, 10}, {5, 1.5}), kFur, place});
  head.parts.push_back({triangle({19, 10}, {28.5, 15}, {27, 1.5}), kFur, place});
  head.parts.push_back({triangle({6.5, 12}, {12, 10}, {6, 4}), kEarInside, place});
  head.parts.push_back({triangle({21, 10}, {27, 12.5}, {26.5, 4}), kEarInside, place});
  head.parts.push_back({ellipse({17, 19.5}, 12.5, 10), kHeadFur, place});
  head.parts.push_back({triangle({27, 20}, {28, 26}, {31, 24}), kFur, place});
  drawLayer(canvas, head);
  Layer muzzle;
  muzzle.innerLine = ink::FurMid;
  muzzle.parts.push_back({ellipse({8, 23}, 6.5, 4.5), kMuzzle, place});
  drawLayer(canvas, muzzle);
  stampCentred(canvas, sprites::eyeSmall(), 12, 16);
  stampCentred(canvas, sprites::eyeSmall(), 22, 16);
  stampCentred(canvas, sprites::noseSmall(), 3, 20.5);
  stampCentred(canvas, sprites::blush(), 24, 21);
  stampCentred(canvas, PixelMap{".I.", "IiI", ".I."}, 17.5, 11.5);
  return canvas;
}

}  // namespace art
