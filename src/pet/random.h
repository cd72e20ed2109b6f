#pragma once
#include <cstdint>

// The program's one pseudo-random generator. Every random choice of a run comes
// from it in a fixed order, so a run is reproducible from its seed.
void seedRandom(uint32_t seed);
int32_t nextRandom();  // 0 to 32767
