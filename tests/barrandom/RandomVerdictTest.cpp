// The rule that tells counts that keep growing from round to round from something made once.
#include "RandomTestUtil.h"

#include <gtest/gtest.h>

TEST(RandomInputVerdict, ALeakOfOneObjectARoundKeepsGrowing)
{
  std::vector<int> counts;
  for (int round = 0; round < 30; ++round)
    counts.push_back(3 + round);
  EXPECT_TRUE(KeepsGrowing(counts, 5, 10));
  // A window a round is enough for windows.
  EXPECT_TRUE(KeepsGrowing({4, 4, 4, 5, 6, 7, 8, 9, 10}, 2, 2));
}

TEST(RandomInputVerdict, SomethingMadeOnceIsNoGrowth)
{
  EXPECT_FALSE(KeepsGrowing({1, 1, 1, 1, 1, 1, 1, 3, 3, 3, 3, 3, 3, 3}, 5, 10));
  // Steps in both halves that stay small are caches, not a leak.
  EXPECT_FALSE(KeepsGrowing({1, 1, 1, 1, 1, 3, 3, 3, 3, 5, 5, 5, 5}, 5, 10));
  EXPECT_FALSE(KeepsGrowing({4, 4, 4, 4, 4, 4, 4, 4}, 5, 2));
}

TEST(RandomInputVerdict, TooFewRoundsGiveNoVerdict)
{
  EXPECT_FALSE(KeepsGrowing({1, 50, 100}, 1, 10));
  EXPECT_FALSE(KeepsGrowing({}, 5, 10));
}
