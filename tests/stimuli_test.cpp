#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "CRand.h"
#include "RandomDraws.h"
#include "Stimuli.h"

namespace {
constexpr double kNoise = 0.05;

// The draw a noise sample came from, recovered by inverting the evenly spaced grid it lies on.
long DrawBehind(double sample, double amplitude = kNoise) {
  return std::lround((sample + amplitude) / (2 * amplitude) * 32767);
}
}  // namespace

TEST(UniformAndNoise, LieOnAGridOf32768ValuesWithBothEndsReached) {
  const std::vector<int> draws = Draws(3, 2);
  runtime::CRand generator(3);
  EXPECT_EQ(UniformRandom(generator) * 32767, draws[0]);
  const double sample = NoiseSample(generator, kNoise);
  EXPECT_EQ(DrawBehind(sample), draws[1]);
  EXPECT_GE(sample, -kNoise);
  EXPECT_LE(sample, kNoise);
  for (double amplitude : {0.05, 0.1, 2.5}) {
    std::vector<double> samples;
    for (unsigned seed = 0; seed < 200'000; ++seed) {
      runtime::CRand g(seed);
      samples.push_back(NoiseSample(g, amplitude));
    }
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_EQ(*low, -amplitude) << "draw 0 is the lower end exactly";
    EXPECT_NEAR(*high, amplitude, 1e-15 * amplitude) << "draw 32767 is the upper end";
  }
}

TEST(UniformAndNoise, EveryDrawGivesTheQuotientARuntimeDivisionGives) {
  // The quotients are looked up; a multiplication by 1/32767 would differ for 448 draws.
  volatile double divisor = 32767.0;
  runtime::CRand generator(5), twin(5);
  std::vector<bool> seen(runtime::kRandMax + 1, false);
  std::size_t distinct = 0;
  for (int i = 0; i < 2'000'000 && distinct < seen.size(); ++i) {
    const int r = twin.rand();
    ASSERT_EQ(UniformRandom(generator), r / divisor) << "draw " << r;
    if (!seen[static_cast<std::size_t>(r)]) ++distinct;
    seen[static_cast<std::size_t>(r)] = true;
  }
  EXPECT_EQ(distinct, seen.size()) << "every draw was checked";
}

TEST(UniformAndNoise, ZeroAmplitudeIsExactlyZeroAndDrawsAllTheSame) {
  runtime::CRand generator(9);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(NoiseSample(generator, 0.0), 0.0);
  for (double amplitude : {0.0, 0.05, 10.0}) {
    EXPECT_EQ(DrawsConsumedBy([amplitude](runtime::CRand& g) { MakeNoise(12, g, amplitude); }), 12);
    EXPECT_EQ(DrawsConsumedBy([amplitude](runtime::CRand& g) { MakePattern(12, 4, g, amplitude); }),
              17);
  }
}

TEST(MakeNoise, DrawsOneSamplePerPositionInOrder) {
  const std::vector<int> draws = Draws(11, 12);
  runtime::CRand generator(11);
  const std::vector<double> noise = MakeNoise(12, generator, kNoise);
  ASSERT_EQ(noise.size(), 12U);
  for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(DrawBehind(noise[i]), draws[i]) << i;
  for (const int empty : {0, -3}) {
    EXPECT_EQ(DrawsConsumedBy(
                  [empty](runtime::CRand& g) { EXPECT_TRUE(MakeNoise(empty, g, kNoise).empty()); }),
              0);
  }
}

TEST(MakePattern, DrawCountsDependOnHowMuchOfTheBumpFits) {
  // Row length, centre, draws.
  const int cases[][3] = {{12, 0, 15},  {12, 1, 16},  {12, 5, 17},
                          {12, 10, 16}, {12, 11, 15}, {1, 0, 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(DrawsConsumedBy([&c](runtime::CRand& g) { MakePattern(c[0], c[1], g, kNoise); }),
              c[2])
        << c[0] << " " << c[1];
  }
}

TEST(MakePattern, BumpSamplesAreFreshAndDrawnCentreThenNeighboursOutwards) {
  const std::vector<int> d = Draws(5, 17);
  runtime::CRand generator(5);
  const std::vector<double> v = MakePattern(12, 5, generator, kNoise);
  // Draws 0..11 fill the row with noise; 12..16 replace centre, 4, 6, 3, 7 in that order.
  EXPECT_EQ(DrawBehind(v[5] - 1.0), d[12]);
  EXPECT_EQ(DrawBehind(v[4] - 0.7), d[13]);
  EXPECT_EQ(DrawBehind(v[6] - 0.7), d[14]);
  EXPECT_EQ(DrawBehind(v[3] - 0.3), d[15]);
  EXPECT_EQ(DrawBehind(v[7] - 0.3), d[16]);
  for (std::size_t i : {0U, 1U, 2U, 8U, 9U, 10U, 11U}) EXPECT_EQ(DrawBehind(v[i]), d[i]) << i;
}

TEST(MakePattern, ProfileIsCutOffAtTheRowsEndsAndExactWithoutNoise) {
  const double kBump[] = {1.0, 0.7, 0.3};
  for (unsigned seed = 0; seed < 50; ++seed) {
    runtime::CRand generator(seed);
    for (int centre = 0; centre < 12; ++centre) {
      const std::vector<double> v = MakePattern(12, centre, generator, kNoise);
      const std::vector<double> clean = MakePattern(12, centre, generator, 0.0);
      for (int i = 0; i < 12; ++i) {
        const int distance = std::abs(i - centre);
        const double base = distance <= 2 ? kBump[distance] : 0.0;
        const auto at = static_cast<std::size_t>(i);
        EXPECT_NEAR(v[at], base, kNoise + 1e-12) << centre << " " << i;
        EXPECT_EQ(clean[at], base) << centre << " " << i;
      }
    }
  }
  runtime::CRand generator(1);
  const std::vector<double> single = MakePattern(1, 0, generator, kNoise);
  ASSERT_EQ(single.size(), 1U);
  EXPECT_NEAR(single[0], 1.0, kNoise);
}

TEST(MakePattern, CentreOutsideTheRowThrowsBeforeDrawing) {
  for (int centre : {-1, 12, 1000}) {
    EXPECT_EQ(DrawsConsumedBy([centre](runtime::CRand& g) {
                EXPECT_THROW(MakePattern(12, centre, g, kNoise), std::out_of_range);
              }),
              0);
  }
  runtime::CRand generator;
  EXPECT_THROW(MakePattern(0, 0, generator, kNoise), std::out_of_range);
}

TEST(Join, PutsTheLeftEyeFirst) {
  const std::vector<double> joined = Join(std::vector<double>(12, 1.0), {2.0, 3.0});
  const std::vector<double> expected = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0,
                                        1.0, 1.0, 1.0, 1.0, 1.0, 2.0, 3.0};
  EXPECT_EQ(joined, expected);
  EXPECT_EQ(Join({}, {4.0}), std::vector<double>{4.0});
}
