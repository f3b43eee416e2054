#include "AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace {
// The round step that cuts span into the number of intervals nearest to `ticks`.
double RoundStep(double span, int ticks) {
  const double wanted = std::max(ticks, 1);
  const double power = std::pow(10.0, std::floor(std::log10(span / wanted)));
  double best = power;
  for (const double multiple : {2.0, 5.0, 10.0}) {
    const double step = multiple * power;
    if (std::abs(span / step - wanted) < std::abs(span / best - wanted)) best = step;
  }
  return best;
}

int Exponent(double value) {
  return static_cast<int>(std::floor(std::log10(value) + 1e-9));
}

// Fixed labels stay within seven characters ("0.00002", "9000000"); labels of smaller steps or
// larger values would crowd the axis title out, so they go in scientific notation ("2.5e-07").
constexpr int kMostFixedDecimals = 5;
constexpr double kLeastScientific = 1e7;

AxisScale Labelled(double low, double high, double step) {
  const double largest = std::max(std::abs(low), std::abs(high));
  const int decimals = std::max(0, -Exponent(step));
  if (decimals <= kMostFixedDecimals && largest < kLeastScientific) {
    return {low, high, step, decimals, false};
  }
  return {low, high, step, std::max(0, Exponent(largest) - Exponent(step)), true};
}

// Ends beyond this would overflow the span, and with it every position Qt works out.
constexpr double kLargestEnd = 1e300;

// A range that can be cut into steps: finite, not inverted, and wider than a rounding of its
// ends, since Qt would count the ticks of a narrower one forever.
void Widen(double& low, double& high) {
  if (!std::isfinite(low) || !std::isfinite(high) || low > high) {
    low = 0.0;
    high = 1.0;
  }
  low = std::clamp(low, -kLargestEnd, kLargestEnd);
  high = std::clamp(high, -kLargestEnd, kLargestEnd);
  if (high - low <= std::max(std::abs(low), std::abs(high)) * 1e-12 ||
      high - low < kNarrowestSpan) {
    const double margin = std::abs(low) * 0.1 >= kNarrowestSpan ? std::abs(low) * 0.1 : 1.0;
    low -= margin;
    high += margin;
  }
}
}  // namespace

AxisScale ExactScale(double low, double high, int ticks) {
  Widen(low, high);
  return Labelled(low, high, RoundStep(high - low, ticks));
}

StepUnit StepUnitFor(double largestSteps) {
  if (largestSteps >= 1e9) return {1e9, "training steps (billions)"};
  if (largestSteps >= 1e6) return {1e6, "training steps (millions)"};
  if (largestSteps >= 1e4) return {1e3, "training steps (thousands)"};
  return {1.0, "training steps"};
}

AxisScale ValueScale(Extent values) {
  values.Include(0.0);
  if (values.high - values.low < kNarrowestSpan) return ExactScale(0.0, 1.0, 5);
  const double room = 0.05 * (values.high - values.low);
  return ExactScale(values.low < 0.0 ? values.low - room : 0.0, values.high + room, 5);
}

StepAxis StepAxisFor(Extent steps) {
  steps.Include(0.0);
  return StepAxisOver(steps);
}

StepAxis StepAxisOver(const Extent& steps) {
  const StepUnit unit = StepUnitFor(std::max(std::abs(steps.low), std::abs(steps.high)));
  const double low = steps.low / unit.stepsPerUnit;
  const double high = std::max(steps.high / unit.stepsPerUnit, low + 1 / unit.stepsPerUnit);
  return {unit, ExactScale(low, high, 8)};
}
