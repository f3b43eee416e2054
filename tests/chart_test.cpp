#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "AxisTicks.h"
#include "ColumnDecimation.h"
#include "Events.h"

namespace {
std::vector<PlotPoint> Decimated(const std::vector<double>& values, int columns) {
  return DecimateByColumn(
      values.size(),
      [&](std::size_t i) {
        return PlotPoint{static_cast<double>(i), values[i]};
      },
      0.0, static_cast<double>(values.size()), columns);
}

TEST(ColumnDecimation, KeepsASpikeAndADipThatAStrideWouldStepOver) {
  std::vector<double> values(100000, 0.5);
  values[50037] = 7.0;
  values[81013] = -3.0;
  const std::vector<PlotPoint> kept = Decimated(values, 1000);
  ASSERT_LE(kept.size(), 4000u);
  const auto [low, high] = std::minmax_element(
      kept.begin(), kept.end(), [](const PlotPoint& a, const PlotPoint& b) { return a.y < b.y; });
  EXPECT_EQ(high->y, 7.0);
  EXPECT_EQ(high->x, 50037.0);
  EXPECT_EQ(low->y, -3.0);
  EXPECT_EQ(low->x, 81013.0);
  EXPECT_EQ(kept.front().x, 0.0);
  EXPECT_EQ(kept.back().x, 99999.0);
}

TEST(ColumnDecimation, KeepsFirstLowestHighestAndLastOfEachColumnInTheirOrder) {
  // Two columns of five points each; the second column's highest comes before its lowest.
  const std::vector<double> values = {1, 5, -1, 2, 3, /**/ 0, 9, 4, -6, 8};
  const std::vector<PlotPoint> kept = Decimated(values, 2);
  const std::vector<double> expectedX = {0, 1, 2, 4, 5, 6, 8, 9};
  ASSERT_EQ(kept.size(), expectedX.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    EXPECT_EQ(kept[i].x, expectedX[i]) << i;
    EXPECT_EQ(kept[i].y, values[static_cast<std::size_t>(expectedX[i])]) << i;
  }
  // Four points that are each the first, lowest, highest or last are all kept; a point that is
  // more than one of these is kept once.
  EXPECT_EQ(Decimated({3, 1, 4, 2}, 1).size(), 4u);
  EXPECT_EQ(Decimated({2, 2, 2, 2, 2}, 1).size(), 2u);
}

TEST(ColumnDecimation, PassesOverValuesThatCannotBeDrawn) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<PlotPoint> kept = Decimated({nan, 1, inf, 2, -inf, nan}, 1);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].y, 1);
  EXPECT_EQ(kept[1].y, 2);
}

TEST(ChartAxes, StepsAreCountedInAUnitThatKeepsTickLabelsShort) {
  EXPECT_EQ(StepUnitFor(9000).title, "training steps");
  EXPECT_EQ(StepUnitFor(30000).stepsPerUnit, 1e3);
  EXPECT_EQ(StepUnitFor(2.2e6).title, "training steps (millions)");
  EXPECT_EQ(StepUnitFor(5e9).stepsPerUnit, 1e9);
  // The axis starts at the session's start, and has a length even with nothing or step 0 only.
  Extent later;
  later.Include(5000);
  later.Include(8000);
  EXPECT_EQ(StepAxisFor(later).scale.low, 0.0);
  EXPECT_EQ(StepAxisFor(later).scale.high, 8000.0);
  Extent start;
  start.Include(0);
  for (const Extent& steps : {Extent{}, start}) {
    EXPECT_EQ(StepAxisFor(steps).scale.low, 0.0);
    EXPECT_EQ(StepAxisFor(steps).scale.high, 1.0);
  }
}

TEST(ChartAxes, TickStepsAreRoundAndAboutAsManyAsAsked) {
  for (const auto& [low, high] : std::vector<std::pair<double, double>>{
           {0, 1.13}, {0, 30}, {-0.3, 7.9}, {0, 2.2}, {1e-6, 3e-5}, {4, 4}}) {
    const AxisScale scale = ExactScale(low, high, 6);
    const double power = std::pow(10.0, std::floor(std::log10(scale.tickInterval) + 1e-9));
    const double mantissa = scale.tickInterval / power;
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                std::abs(mantissa - 5) < 1e-9)
        << low << ".." << high << ": " << scale.tickInterval;
    const double intervals = (scale.high - scale.low) / scale.tickInterval;
    EXPECT_GE(intervals, 3) << low << ".." << high;
    EXPECT_LE(intervals, 12) << low << ".." << high;
    // Enough decimals to tell neighbouring ticks apart.
    EXPECT_LE(scale.tickInterval * std::pow(10.0, scale.decimals), 9.0 + 1e-9);
  }
}

TEST(ChartAxes, ValueScalesStartAtZeroAndHoldEveryValue) {
  Extent positive;
  for (const double v : {0.3, 1.2, 0.7}) positive.Include(v);
  const AxisScale up = ValueScale(positive);
  EXPECT_EQ(up.low, 0.0);
  EXPECT_GT(up.high, 1.2);
  Extent mixed;
  for (const double v : {-0.02, 1.0, std::numeric_limits<double>::quiet_NaN()}) mixed.Include(v);
  const AxisScale across = ValueScale(mixed);
  EXPECT_LT(across.low, -0.02);
  EXPECT_GT(across.low, -0.2);  // room beyond the values, not a whole tick step of it
  EXPECT_GT(across.high, 1.0);
}

TEST(ChartEvents, ClosuresOfOneEyeAreJoinedWhereTheyTouchOrOverlap) {
  const std::vector<EyeClosure> closures = {{500, 700, Eye::Left},  {100, 200, Eye::Left},
                                            {200, 300, Eye::Left},  {250, 260, Eye::Left},
                                            {150, 400, Eye::Right}, {800, 800, Eye::Left}};
  const std::vector<EyeClosure> left = JoinedClosures(closures, Eye::Left);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].fromSteps, 100);
  EXPECT_EQ(left[0].toSteps, 300);
  EXPECT_EQ(left[1].fromSteps, 500);
  EXPECT_EQ(left[1].toSteps, 700);
  ASSERT_EQ(JoinedClosures(closures, Eye::Right).size(), 1u);
}
}  // namespace
