#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "CRand.h"
#include "RandomDraws.h"
#include "Stimuli.h"

namespace {
double NoiseOf(int draw) {
  return draw / 32767.0 * 2.0 * 0.05 - 0.05;
}

std::vector<int> Draws(unsigned seed, int count) {
  runtime::srand(seed);
  std::vector<int> draws;
  for (int i = 0; i < count; ++i) draws.push_back(runtime::rand());
  return draws;
}
}  // namespace

TEST(UniformAndNoise, MapTheDrawOntoTheirRanges) {
  const std::vector<int> draws = Draws(3, 2);
  runtime::srand(3);
  EXPECT_DOUBLE_EQ(UniformRandom(), draws[0] / 32767.0);
  EXPECT_DOUBLE_EQ(NoiseSample(), NoiseOf(draws[1]));
  EXPECT_DOUBLE_EQ(NoiseOf(0), -0.05);
  EXPECT_NEAR(NoiseOf(32767), 0.05, 1e-17);
}

TEST(MakeNoise, DrawsOneSamplePerPositionInOrder) {
  const std::vector<int> draws = Draws(11, 12);
  runtime::srand(11);
  const std::vector<double> noise = MakeNoise(12);
  ASSERT_EQ(noise.size(), 12U);
  for (std::size_t i = 0; i < 12; ++i) EXPECT_DOUBLE_EQ(noise[i], NoiseOf(draws[i]));
  EXPECT_EQ(DrawsConsumedBy([] { MakeNoise(12); }), 12);
}

TEST(MakeNoise, EmptyRowDrawsNothing) {
  EXPECT_EQ(DrawsConsumedBy([] { EXPECT_TRUE(MakeNoise(0).empty()); }), 0);
  EXPECT_EQ(DrawsConsumedBy([] { EXPECT_TRUE(MakeNoise(-3).empty()); }), 0);
}

TEST(MakePattern, DrawCountsDependOnHowMuchOfTheBumpFits) {
  EXPECT_EQ(DrawsConsumedBy([] { MakePattern(12, 0); }), 15);
  EXPECT_EQ(DrawsConsumedBy([] { MakePattern(12, 1); }), 16);
  EXPECT_EQ(DrawsConsumedBy([] { MakePattern(12, 5); }), 17);
  EXPECT_EQ(DrawsConsumedBy([] { MakePattern(12, 10); }), 16);
  EXPECT_EQ(DrawsConsumedBy([] { MakePattern(12, 11); }), 15);
  EXPECT_EQ(DrawsConsumedBy([] { MakePattern(1, 0); }), 2);
}

TEST(MakePattern, BumpSamplesAreFreshAndDrawnCentreThenNeighboursOutwards) {
  const std::vector<int> d = Draws(5, 17);
  runtime::srand(5);
  const std::vector<double> v = MakePattern(12, 5);
  // Draws 0..11 fill the row with noise; 12..16 replace centre, 4, 6, 3, 7 in that order.
  EXPECT_DOUBLE_EQ(v[5], 1.0 + NoiseOf(d[12]));
  EXPECT_DOUBLE_EQ(v[4], 0.7 + NoiseOf(d[13]));
  EXPECT_DOUBLE_EQ(v[6], 0.7 + NoiseOf(d[14]));
  EXPECT_DOUBLE_EQ(v[3], 0.3 + NoiseOf(d[15]));
  EXPECT_DOUBLE_EQ(v[7], 0.3 + NoiseOf(d[16]));
  for (std::size_t i : {0U, 1U, 2U, 8U, 9U, 10U, 11U}) EXPECT_DOUBLE_EQ(v[i], NoiseOf(d[i]));
}

TEST(MakePattern, ProfileIsCutOffAtTheRowsEnds) {
  const double kBump[] = {1.0, 0.7, 0.3};
  for (unsigned seed = 0; seed < 50; ++seed) {
    runtime::srand(seed);
    for (int centre = 0; centre < 12; ++centre) {
      const std::vector<double> v = MakePattern(12, centre);
      for (int i = 0; i < 12; ++i) {
        const int distance = std::abs(i - centre);
        const double base = distance <= 2 ? kBump[distance] : 0.0;
        EXPECT_NEAR(v[static_cast<std::size_t>(i)], base, 0.05 + 1e-12) << centre << " " << i;
      }
    }
  }
  runtime::srand(1);
  const std::vector<double> single = MakePattern(1, 0);
  ASSERT_EQ(single.size(), 1U);
  EXPECT_NEAR(single[0], 1.0, 0.05);
}

TEST(MakePattern, CentreOutsideTheRowThrowsBeforeDrawing) {
  for (int centre : {-1, 12, 1000}) {
    EXPECT_EQ(
        DrawsConsumedBy([centre] { EXPECT_THROW(MakePattern(12, centre), std::out_of_range); }), 0);
  }
  EXPECT_THROW(MakePattern(0, 0), std::out_of_range);
}

TEST(Join, PutsTheLeftEyeFirstAndLeavesItsArgumentsAlone) {
  const std::vector<double> left(12, 1.0), right(12, 2.0);
  const std::vector<double> joined = Join(left, right);
  ASSERT_EQ(joined.size(), 24U);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(joined[i], 1.0);
    EXPECT_EQ(joined[12 + i], 2.0);
  }
  EXPECT_EQ(left.size(), 12U);
  EXPECT_EQ(Join(left, {}), left);
}

TEST(Stimuli, SameSeedGivesTheSameVectorsSampleForSample) {
  auto sequence = [] {
    runtime::srand(77);
    return Join(MakePattern(12, 3), Join(MakeNoise(12), MakePattern(12, 11)));
  };
  EXPECT_EQ(sequence(), sequence());
}
