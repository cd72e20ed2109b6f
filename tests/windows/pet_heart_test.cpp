#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "pet/desktop_pet.h"
#include "pet/random.h"
#include "test_support.h"

namespace {

// The generator written out independently, to predict draws.
struct Draws {
  uint32_t state;
  int32_t next() {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFF;
  }
};

constexpr int32_t SCREEN_W = 1024;
constexpr int32_t SCREEN_H = 768;

class PetHeart : public ::testing::Test {
 protected:
  PetHeart() : pet(7, Tick, 70, 1u) {
    for (const AnimationEntry& entry : animationTable) {
      hangFakeFrames(pet, entry.slot, entry.frameCount);
      pet.motionKinds[entry.slot] = entry.motionKind;
    }
    attachForSteps(pet, window.handle(), SCREEN_W, SCREEN_H);
    pet.x = 400;
    pet.y = 300;
  }
  // Steps until the pet meets its rule with draw r, from the animation given.
  void chooseWith(int32_t current, int32_t ticks, int32_t r) {
    pet.animation = current;
    pet.currentFrame = &pet.drawing.animations[current];
    pet.behaviourTicks = ticks;
    seedRandom(seedGivingFirstDraw(r, 100));
    pet.chooseBehaviour();
  }

  SystemStandIns standIns;
  TestWindow window;
  TimerRecorder timers;
  DesktopPet pet;
};

TEST(PetConstruction, DrawsTargetsAndTimerFromTheSeedAndSetsDefaults) {
  for (uint32_t seed : {0u, 1u, 4242u, 0xFFFFFFFFu}) {
    DesktopPet pet(7, Tick, 70, seed);
    Draws draws{seed};
    EXPECT_EQ(pet.targetX, draws.next() % 200 + 300);
    EXPECT_EQ(pet.targetY, draws.next() % 100 + 400);
    EXPECT_EQ(pet.timerId, draws.next() % 1024);
    EXPECT_EQ(nextRandom(), draws.next()) << "construction makes exactly three draws";
    EXPECT_EQ(pet.animation, slot::STAND);
    EXPECT_EQ(pet.command, Tick);
    EXPECT_EQ(pet.previousCommand, 0);
    EXPECT_EQ(pet.behaviourTicks, 0);
    EXPECT_EQ(pet.pendingDirection, 0);
    EXPECT_EQ(pet.velocityX, 0);
    EXPECT_EQ(pet.velocityY, 0);
    EXPECT_EQ(pet.border, 14);
    EXPECT_EQ(pet.margin, 7);
    EXPECT_EQ(pet.timerPeriod, 70);
    EXPECT_EQ(pet.soundEnabled, 1);
    EXPECT_EQ(pet.insertAfter, HWND_TOPMOST);
    EXPECT_EQ(pet.currentFrame, nullptr);
    for (int s = 0; s < slot::COUNT; ++s) {
      EXPECT_EQ(pet.motionKinds[s], motion::STANDS);
      EXPECT_EQ(pet.drawing.animations[s].next, nullptr);
      EXPECT_EQ(pet.drawing.animations[s].previous, nullptr);
    }
  }
}

TEST_F(PetHeart, StandingMovesOnOnlyAfterItsAgeAndThenByTheDraw) {
  for (int32_t r = 0; r < 100; ++r) {
    chooseWith(slot::STAND, 7, r);
    EXPECT_EQ(pet.animation, slot::STAND) << "age 490 never moves on, r " << r;
    EXPECT_EQ(pet.behaviourTicks, 7);
  }
  const struct { int32_t r; int32_t expected; } cases[] = {
      {99, slot::FAILED}, {71, slot::FAILED}, {70, slot::NO}, {61, slot::NO},
      {60, slot::HAPPY},  {51, slot::HAPPY},  {50, slot::RIGHT}, {41, slot::RIGHT},
      {40, slot::HI},     {31, slot::HI},     {30, slot::WALK}, {21, slot::WALK},
      {20, slot::STAND},  {0, slot::STAND}};
  for (const auto& c : cases) {
    chooseWith(slot::STAND, 8, c.r);
    EXPECT_EQ(pet.animation, c.expected) << "r " << c.r;
    if (c.expected != slot::STAND) {
      EXPECT_EQ(pet.currentFrame, &pet.drawing.animations[c.expected]);
      EXPECT_EQ(pet.behaviourTicks, 0);
      EXPECT_EQ(pet.motionKind, pet.motionKinds[c.expected]);
    } else {
      EXPECT_EQ(pet.behaviourTicks, 8);
    }
  }
}

TEST_F(PetHeart, EveryChangeAwayFromStandingPicksARandomTarget) {
  const uint32_t seed = seedGivingFirstDraw(45, 100);  // RIGHT, a standing act
  Draws draws{seed};
  draws.next();
  int32_t a = draws.next() % 120 - 60;
  if (a == 0) a = 1;
  pet.animation = slot::STAND;
  pet.behaviourTicks = 9;
  pet.chooseBehaviour();
  EXPECT_EQ(pet.animation, slot::RIGHT);
  const int32_t expectedY = a <= 0 ? 300 + a - 30 : 300 + a + 30;
  EXPECT_EQ(pet.targetY, std::max(60, std::min(expectedY, SCREEN_H - 90)));
  draws.next();
  EXPECT_EQ(nextRandom(), draws.next()) << "one draw for the rule, two for the target";
}

TEST_F(PetHeart, ActsEndByTheirOwnAgeAndOdds) {
  const struct { int32_t animation; int32_t ticks; int32_t lastStaying; } acts[] = {
      {slot::FAILED, 8, 80}, {slot::HAPPY, 5, 95}, {slot::NO, 6, 80}, {slot::RIGHT, 8, 95}};
  for (const auto& act : acts) {
    chooseWith(act.animation, act.ticks, act.lastStaying);
    EXPECT_EQ(pet.animation, act.animation);
    chooseWith(act.animation, act.ticks, act.lastStaying + 1);
    EXPECT_EQ(pet.animation, slot::STAND);
    EXPECT_EQ(pet.currentFrame, &pet.drawing.animations[slot::STAND]);
    EXPECT_EQ(pet.behaviourTicks, 0);
    chooseWith(act.animation, act.ticks - 1, 99);
    EXPECT_EQ(pet.animation, act.animation) << "too young to end";
  }
  chooseWith(slot::HI, 0, 0);
  EXPECT_EQ(pet.animation, slot::STAND) << "HI lasts one step";
  chooseWith(slot::ACT, 0, 0);
  EXPECT_EQ(pet.animation, slot::STAND) << "ACT outside a drag goes back to standing";
}

TEST_F(PetHeart, WalkingEndsLateAndFindsANewTargetWhenItArrives) {
  pet.targetX = 900;
  pet.targetY = 700;
  chooseWith(slot::WALK, 65, 36);
  EXPECT_EQ(pet.animation, slot::STAND);

  chooseWith(slot::WALK, 65, 35);
  EXPECT_EQ(pet.animation, slot::WALK);
  EXPECT_EQ(pet.targetX, 900) << "far from its target, it keeps it";

  pet.targetX = pet.x + 28;
  pet.targetY = pet.y - 28;
  chooseWith(slot::WALK, 3, 50);
  EXPECT_EQ(pet.animation, slot::WALK);
  EXPECT_NE(pet.targetX, pet.x + 28) << "within 28 pixels on both axes: a new target";
  EXPECT_EQ(pet.behaviourTicks, 3);
}

TEST_F(PetHeart, AnActWithoutFramesShowsStandingInstead) {
  pet.releaseAnimations();
  hangFakeFrames(pet, slot::STAND, 1);
  chooseWith(slot::STAND, 8, 75);  // FAILED, which has no frames now
  EXPECT_EQ(pet.animation, slot::STAND);
  EXPECT_EQ(pet.currentFrame, &pet.drawing.animations[slot::STAND]);
  EXPECT_EQ(pet.motionKind, pet.motionKinds[slot::FAILED]);
  EXPECT_EQ(pet.behaviourTicks, 0);
}

TEST_F(PetHeart, RandomTargetsLieNearThePetAndStayOnTheScreen) {
  // a = 0 and b = 0 are nudged to 1: just below and to the right.
  for (uint32_t seed = 0;; ++seed) {
    Draws draws{seed};
    if (draws.next() % 120 == 60 && draws.next() % 480 == 240) {
      seedRandom(seed);
      break;
    }
  }
  pet.pickTarget(Tick);
  EXPECT_EQ(pet.targetY, 300 + 31);
  EXPECT_EQ(pet.targetX, 400 + 81);

  pet.home.work = {0, 0, 640, 480};
  for (uint32_t seed = 0; seed < 2000; ++seed) {
    seedRandom(seed);
    pet.x = 500;
    pet.y = 70;
    pet.pickTarget(Tick);
    EXPECT_GE(pet.targetY, 60);
    EXPECT_LE(pet.targetY, 390);
    EXPECT_GE(pet.targetX, 60);
    EXPECT_LE(pet.targetX, 520);
    const int32_t dy = pet.targetY - pet.y;
    if (pet.targetY > 60 && pet.targetY < 390) {
      EXPECT_TRUE((dy >= -90 && dy <= -31) || (dy >= 31 && dy <= 89));
    }
  }
  pet.home.work.height = 100;  // both clamps apply: the bottom one wins
  pet.y = 0;
  pet.pickTarget(Tick);
  EXPECT_EQ(pet.targetY, 10);
}

TEST_F(PetHeart, DragTargetIsTheCursorWithoutADraw) {
  SetCursorPos(321, 234);
  seedRandom(77);
  pet.pickTarget(Drag);
  EXPECT_EQ(pet.targetX, 321);
  EXPECT_EQ(pet.targetY, 234);
  Draws draws{77};
  EXPECT_EQ(nextRandom(), draws.next());
}

TEST_F(PetHeart, WalkingVelocityFollowsTheGeometricMeanAndItsLimit) {
  pet.motionKind = motion::WALKS;
  pet.velocityX = 5;
  pet.velocityY = -5;
  pet.targetX = pet.x;
  pet.targetY = pet.y + 49;
  seedRandom(3);
  pet.updateVelocity();
  EXPECT_EQ(pet.velocityX, 5) << "close enough: a new target, the old velocity";
  EXPECT_EQ(pet.velocityY, -5);
  EXPECT_NE(pet.targetY, 300 + 49);

  pet.targetX = pet.x;
  pet.targetY = pet.y + 50;
  pet.updateVelocity();
  EXPECT_EQ(pet.velocityX, 0);
  EXPECT_EQ(pet.velocityY, 7);

  pet.targetX = pet.x - 200;
  pet.targetY = pet.y - 50;
  pet.updateVelocity();
  EXPECT_EQ(pet.velocityX, -7);
  EXPECT_EQ(pet.velocityY, -3);

  pet.x = -2000000000;  // dragged absurdly far: no overflow, still a sane speed
  pet.updateVelocity();
  EXPECT_EQ(pet.velocityX, 7);

  pet.motionKind = motion::STANDS;
  pet.updateVelocity();
  EXPECT_EQ(pet.velocityX, 0);
  EXPECT_EQ(pet.velocityY, 0);

  pet.motionKind = 5;
  pet.velocityX = 3;
  pet.updateVelocity();
  EXPECT_EQ(pet.velocityX, 3) << "an unknown motion kind keeps the velocity";
}

TEST_F(PetHeart, ADragHoldsThePetUnderTheCursorAndEndsInAWalkOrAFall) {
  SetCursorPos(500, 300);
  seedRandom(11);
  pet.PetStep(Drag);
  EXPECT_EQ(pet.x, 450);
  EXPECT_EQ(pet.y, 290);
  EXPECT_EQ(pet.animation, slot::ACT);
  EXPECT_EQ(framePosition(pet), 1);
  ASSERT_EQ(timers.calls().size(), 1u);
  EXPECT_EQ(timers.calls()[0].period, 70u);
  EXPECT_EQ(timers.calls()[0].id, static_cast<UINT_PTR>(pet.timerId));
  Draws draws{11};
  draws.next();
  const int32_t ticksBefore = pet.behaviourTicks;

  SetCursorPos(520, 310);
  pet.PetStep(Drag);
  EXPECT_EQ(pet.x, 470);
  EXPECT_EQ(pet.y, 300);
  EXPECT_EQ(framePosition(pet), 2);
  EXPECT_EQ(timers.calls().size(), 1u) << "a drag that goes on keeps the period";

  pet.PetStep(Tick);
  const int32_t expectedAnimation = draws.next() % 2 + 1;
  EXPECT_EQ(pet.animation, expectedAnimation);
  EXPECT_EQ(framePosition(pet), 1);
  EXPECT_EQ(pet.motionKind, pet.motionKinds[expectedAnimation]);
  EXPECT_EQ(pet.x, 490) << "one more move by the last drag velocity";
  EXPECT_EQ(pet.y, 310);
  EXPECT_EQ(pet.behaviourTicks, ticksBefore);
  ASSERT_EQ(timers.calls().size(), 2u);
  EXPECT_EQ(timers.calls()[1].period, 70u);
  draws.next();
  draws.next();
  EXPECT_EQ(nextRandom(), draws.next()) << "the end of a drag draws three times";
}

TEST_F(PetHeart, ArrowStepsMoveSevenPixelsUntilNearTheEdge) {
  pet.setKeyDirection(DIRECTION_LEFT);
  EXPECT_EQ(pet.animation, slot::STAND) << "the first arrow shows standing";
  pet.x = 151;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.x, 144);
  EXPECT_EQ(pet.velocityX, -7);
  EXPECT_EQ(pet.targetX, 101);
  ASSERT_EQ(timers.calls().size(), 1u);
  EXPECT_EQ(timers.calls()[0].period, 46u);
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.x, 137) << "past the bound it keeps going with its velocity";
  EXPECT_EQ(timers.calls().size(), 1u);

  pet.setKeyDirection(DIRECTION_UP);
  EXPECT_EQ(pet.animation, slot::WALK) << "after a left arrow: WALK";
  pet.y = 400;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.y, 393);
  EXPECT_EQ(pet.velocityX, 0);
  EXPECT_EQ(pet.targetX, pet.x);
  EXPECT_EQ(timers.calls().back().period, 70u);

  pet.setKeyDirection(DIRECTION_RIGHT);
  EXPECT_EQ(pet.animation, slot::HAPPY) << "after an up arrow: HAPPY";
  pet.setKeyDirection(DIRECTION_DOWN);
  EXPECT_EQ(pet.animation, slot::FAILED) << "after a right arrow: FAILED";
  pet.setKeyDirection(DIRECTION_DOWN);
  EXPECT_EQ(pet.animation, slot::HI) << "after a down arrow: HI";

  pet.y = SCREEN_H - 150;
  pet.velocityY = 2;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.y, SCREEN_H - 148) << "at the down bound the pet keeps its velocity";
}

// Two monitors side by side, a taskbar along the bottom of the left one.
const PetArea LEFT_HOME{{0, 0, 1024, 768}, {0, 0, 1024, 728}};
const PetArea RIGHT_HOME{{1024, 0, 1024, 768}, {1024, 0, 1024, 768}};

POINT statedCursor{};
BOOL WINAPI statedCursorPos(LPPOINT point) {
  *point = statedCursor;
  return TRUE;
}

TEST_F(PetHeart, APetOnTheOtherMonitorWalksAndStepsWithinIt) {
  StatedMonitors monitors({LEFT_HOME, RIGHT_HOME});
  petSystem.getCursorPos = statedCursorPos;
  statedCursor = {1500, 400};
  pet.PetStep(Drag);
  pet.PetStep(Drag);  // held still a moment: no jump when let go
  pet.PetStep(Tick);  // let go on the right-hand monitor
  EXPECT_EQ(pet.home.monitor.left, 1024) << "dropped there, at home there";
  EXPECT_GE(pet.targetX, 1024 + 60) << "its walk starts toward a spot of that monitor";

  pet.setKeyDirection(DIRECTION_LEFT);
  pet.x = 1024 + 151;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.velocityX, -7);
  pet.x = 1024 + 150;
  pet.velocityX = 0;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.x, 1024 + 150) << "the left bound lies 150 pixels inside this monitor";
  pet.setKeyDirection(DIRECTION_RIGHT);
  pet.x = 2048 - 151;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.velocityX, 7);
  pet.x = 2048 - 150;
  pet.velocityX = 0;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.x, 2048 - 150) << "and the right bound 150 inside its right edge";

  // Stepped back over the seam past the middle of the sprite: the left monitor
  // takes it, and a target left on the right-hand one is brought within reach.
  pet.setKeyDirection(DIRECTION_LEFT);
  pet.x = 1024 - 45;
  pet.y = 700;
  pet.velocityX = -7;
  pet.targetX = 1600;
  pet.targetY = 750;
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.x, 1024 - 52);
  EXPECT_EQ(pet.home.monitor.left, 0);
  EXPECT_EQ(pet.targetX, 1024 - 120);
  EXPECT_EQ(pet.targetY, 728 - 90) << "kept above the taskbar";
  pet.y = 728 - 150;
  pet.velocityY = 0;
  pet.setKeyDirection(DIRECTION_DOWN);
  pet.PetStep(KeyStep);
  EXPECT_EQ(pet.velocityY, 0) << "the down bound lies 150 pixels above the taskbar";
}

// Right after a change from 1024 x 768 to 800 x 600 the system may still
// report the old work area with the new monitor. Dropped near the bottom, the
// pet keeps to the monitor: each target within the walks' bounds of it, each
// step's sprite on it but for the feet a walk lets past the bottom edge.
TEST_F(PetHeart, AWorkAreaLargerThanItsMonitorKeepsThePetOnTheMonitor) {
  constexpr int32_t WALK_BELOW = 22;  // 15 rows at the lowest target, and a step past it
  const PetArea staleAreas[] = {{{0, 0, 800, 600}, {0, 0, 1024, 768}},
                                {{-800, -600, 800, 600}, {-800, -600, 1024, 768}}};
  for (const PetArea& stale : staleAreas) {
    const PixelRect& screen = stale.monitor;
    StatedMonitors monitors({stale});
    petSystem.getCursorPos = statedCursorPos;
    statedCursor = {screen.left + 400, screen.top + screen.height - 80};
    pet.PetStep(Drag);
    pet.PetStep(Drag);
    pet.PetStep(Tick);  // dropped near the bottom, as low as a walk may go
    int walkingSteps = 0;
    for (int step = 0; step < 3000; ++step) {
      pet.PetStep(Tick);
      if (pet.velocityX || pet.velocityY) ++walkingSteps;
      ASSERT_GE(pet.targetX, screen.left + 60) << "step " << step;
      ASSERT_LE(pet.targetX, rightOf(screen) - 120) << "step " << step;
      ASSERT_GE(pet.targetY, screen.top + 60) << "step " << step;
      ASSERT_LE(pet.targetY, bottomOf(screen) - 90) << "step " << step;
      ASSERT_GE(pet.x, screen.left) << "step " << step;
      ASSERT_LE(pet.x + 100, rightOf(screen)) << "step " << step;
      ASSERT_GE(pet.y, screen.top) << "step " << step;
      ASSERT_LE(pet.y + 105, bottomOf(screen) + WALK_BELOW) << "step " << step;
    }
    EXPECT_GT(walkingSteps, 300) << "the pet walked about";
    EXPECT_EQ(pet.home.work.height, 600);

    // The arrow keys start no step closer than 150 pixels to the monitor's bottom.
    pet.setKeyDirection(DIRECTION_DOWN);
    pet.y = bottomOf(screen) - 150;
    pet.velocityX = pet.velocityY = 0;
    pet.PetStep(KeyStep);
    EXPECT_EQ(pet.velocityY, 0);
    pet.y -= 1;
    pet.PetStep(KeyStep);
    EXPECT_EQ(pet.velocityY, 7);
    pet.setKeyDirection(0);  // the key let go: the next monitor starts as the first did
    pet.command = Tick;
    pet.x = 400;
    pet.y = 300;
  }
}

TEST_F(PetHeart, FramesAdvanceOneAtATimeAndWrap) {
  pet.animation = slot::WALK;
  pet.currentFrame = &pet.drawing.animations[slot::WALK];
  pet.motionKind = 0;  // keeps the pet where it is
  pet.behaviourTicks = -1000;  // too young for any change
  int seen[7];
  for (int& position : seen) {
    pet.PetStep(Tick);
    position = framePosition(pet);
  }
  EXPECT_EQ(std::vector<int>(seen, seen + 7), (std::vector<int>{1, 2, 3, 4, 5, 1, 2}));

  pet.animation = slot::STAND;
  pet.currentFrame = &pet.drawing.animations[slot::STAND];
  for (int i = 0; i < 3; ++i) {
    pet.PetStep(Tick);
    EXPECT_EQ(framePosition(pet), 1);
  }
}

TEST_F(PetHeart, AStepOnAnEmptyListKeepsThePetOnItsHead) {
  pet.releaseAnimations();
  pet.currentFrame = nullptr;  // also before any frame was ever set
  pet.animation = slot::STAND;
  pet.PetStep(Tick);
  EXPECT_EQ(pet.currentFrame, &pet.drawing.animations[slot::STAND]);
  SetCursorPos(200, 200);
  pet.PetStep(Drag);
  EXPECT_EQ(pet.currentFrame, &pet.drawing.animations[slot::ACT]);
  pet.PetStep(KeyStep);
  pet.PetStep(Drag);
  EXPECT_EQ(pet.x, 150) << "the logic still runs";
}

TEST_F(PetHeart, ARefusedTimerChangeIsReportedAndEndsTheProgram) {
  MessageBoxWatcher boxes;
  timers.refuse(true);
  SetCursorPos(500, 300);
  pet.PetStep(Drag);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"我要找聞人蘋\n沒時間和你玩");
  EXPECT_EQ(boxes.shown()[0].caption, L"霜牙說");
  EXPECT_EQ(boxes.shown()[0].owner, window.handle());
  EXPECT_EQ(window.destroyMessages(), 1);
  EXPECT_EQ(pet.x, 450) << "the step runs to its end";
}

// Runs one arrow step of `steppingPet` when sent WM_APP: a step dispatched from
// inside a message box's own loop.
DesktopPet* steppingPet = nullptr;
LRESULT CALLBACK stepOnRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP && steppingPet) steppingPet->PetStep(KeyStep);
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(PetHeart, ARefusedTimerChangeIsReportedOnceWhileStepsGoOnInsideTheReport) {
  MessageBoxWatcher boxes;
  timers.refuse(true);
  registerWindowClass(L"MorvetSteppingWindow", stepOnRequest);
  HWND stepper = CreateWindowExW(0, L"MorvetSteppingWindow", L"stepper", WS_POPUP, 0, 0, 0, 0,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  steppingPet = &pet;
  pet.setKeyDirection(DIRECTION_LEFT);
  pet.x = 500;
  PostMessageW(stepper, WM_APP, 0, 0);  // waits for the report's loop
  pet.PetStep(KeyStep);
  steppingPet = nullptr;
  DestroyWindow(stepper);
  EXPECT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(window.destroyMessages(), 1);
  EXPECT_EQ(pet.x, 486) << "both steps ran to their end";
}

BOOL WINAPI cursorOnTheSecureDesktop(LPPOINT) { return FALSE; }

TEST_F(PetHeart, ADragStaysWhereItWasWhenTheCursorCannotBeRead) {
  SetCursorPos(500, 300);
  pet.PetStep(Drag);
  petSystem.getCursorPos = cursorOnTheSecureDesktop;
  pet.PetStep(Drag);
  EXPECT_EQ(pet.x, 450);
  EXPECT_EQ(pet.y, 290);
}

TEST_F(PetHeart, RearmingKeepsOneTimerWithTheSameId) {
  pet.rearmTimer(46);
  pet.rearmTimer(70);
  ASSERT_EQ(timers.calls().size(), 2u);
  for (const TimerCall& call : timers.calls()) {
    EXPECT_EQ(call.window, window.handle());
    EXPECT_EQ(call.id, static_cast<UINT_PTR>(pet.timerId));
  }
  EXPECT_TRUE(KillTimer(window.handle(), pet.timerId));
  EXPECT_FALSE(KillTimer(window.handle(), pet.timerId)) << "exactly one timer was running";
}

}  // namespace
