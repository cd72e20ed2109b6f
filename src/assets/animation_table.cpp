#include "assets/animation_table.h"

const AnimationEntry animationTable[ANIMATION_COUNT] = {
    {"STAND", 1, slot::STAND, motion::STANDS},
    {"WALK", 5, slot::WALK, motion::WALKS},
    {"ACT", 2, slot::ACT, motion::STANDS},
    {"FAILED", 5, slot::FAILED, motion::STANDS},
    {"HAPPY", 2, slot::HAPPY, motion::STANDS},
    {"HI", 5, slot::HI, motion::STANDS},
    {"NO", 6, slot::NO, motion::STANDS},
    {"RIGHT", 3, slot::RIGHT, motion::STANDS},
};
