#include <gtest/gtest.h>

#include "pet/random.h"

// The generator must give the same sequence as the classic C runtime rand(),
// since a run is replayed from its seed.
TEST(Random, FollowsTheLinearCongruentialSequence) {
  seedRandom(1);
  EXPECT_EQ(nextRandom(), 41);
  EXPECT_EQ(nextRandom(), 18467);
  EXPECT_EQ(nextRandom(), 6334);
  EXPECT_EQ(nextRandom(), 26500);
}

TEST(Random, WrapsTheStateModulo2To32) {
  seedRandom(0xFFFFFFFFu);
  // (2^32 - 1) * 214013 + 2531011 modulo 2^32 = 2316998, whose high bits give 35.
  EXPECT_EQ(nextRandom(), 35);
}
