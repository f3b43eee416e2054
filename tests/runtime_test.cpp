#include <gtest/gtest.h>

#include <cstdlib>

#include "CRand.h"

TEST(Generator, SeedOneGivesTheStandardsExampleSequence) {
  runtime::srand(1);
  const int expected[] = {16838, 5758, 10113, 17515, 31051};
  for (int value : expected) EXPECT_EQ(runtime::rand(), value);
}

TEST(Generator, SameSeedSameStreamAndReseedingRestarts) {
  runtime::srand(42);
  const int first = runtime::rand(), second = runtime::rand();
  runtime::srand(42);
  EXPECT_EQ(runtime::rand(), first);
  EXPECT_EQ(runtime::rand(), second);
}

TEST(Generator, StaysInRangeAndReachesBothEnds) {
  runtime::srand(7);
  bool sawZero = false, sawMax = false;
  for (int i = 0; i < 4'000'000; ++i) {
    const int r = runtime::rand();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, runtime::kRandMax);
    sawZero |= r == 0;
    sawMax |= r == runtime::kRandMax;
  }
  EXPECT_TRUE(sawZero);
  EXPECT_TRUE(sawMax);
}

TEST(Generator, IsIndependentOfTheCLibrarysRand) {
  runtime::srand(1);
  std::srand(99);
  (void)std::rand();
  EXPECT_EQ(runtime::rand(), 16838);
}
