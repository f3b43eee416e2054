#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

// Axis ranges and tick steps a reader can count along: steps of 1, 2 or 5 times a power of ten.

struct AxisScale {
  double low = 0.0;
  double high = 1.0;
  double tickInterval = 0.5;
  int decimals = 1;         // enough to tell neighbouring ticks apart
  bool scientific = false;  // labels as 2.5e-07 rather than 0.00000025
};

// The narrowest range a scale spans: values all closer to 0 than this read as 0 to anyone, and
// a span near the smallest double would overflow Qt's pixels per unit.
inline constexpr double kNarrowestSpan = 1e-9;

// [low, high] as it is, with about `ticks` round tick steps inside it. A range without width gets
// one around its value; ends beyond +-1e300 are cut there.
AxisScale ExactScale(double low, double high, int ticks);

// How training steps are counted along the axis: in steps, thousands, millions or billions, so
// that tick labels stay short.
struct StepUnit {
  double stepsPerUnit = 1.0;
  std::string title;
};

StepUnit StepUnitFor(double largestSteps);

// The smallest and largest of the finite values included; inverted while there are none.
struct Extent {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();

  void Include(double value) {
    if (!std::isfinite(value)) return;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  void Include(const Extent& other) {
    Include(other.low);
    Include(other.high);
  }
};

// The step axis of a figure: its unit, and the scale in that unit from the session's start, step
// 0, to the last step. It is at least one step long.
struct StepAxis {
  StepUnit unit;
  AxisScale scale;

  double ToUnits(std::int64_t steps) const {
    return static_cast<double>(steps) / unit.stepsPerUnit;
  }
};

StepAxis StepAxisFor(Extent steps);
// The step axis over just these steps, as a zoomed chart shows them.
StepAxis StepAxisOver(const Extent& steps);

// A scale for responses or thresholds: from 0 (so that a response fading away reads as such, and
// one panel compares with another), with a little room beyond the values so that no line runs
// along the frame. 0 to 1 when there are none, or all lie within kNarrowestSpan of 0.
AxisScale ValueScale(Extent values);
