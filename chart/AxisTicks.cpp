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

int DecimalsFor(double step) {
  return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

// A range that can be cut into steps: not empty, not inverted, finite.
void Widen(double& low, double& high) {
  if (!std::isfinite(low) || !std::isfinite(high) || low > high) {
    low = 0.0;
    high = 1.0;
  }
  if (high - low <= std::abs(high) * 1e-12) {
    const double margin = low == 0.0 ? 1.0 : std::abs(low) * 0.1;
    low -= margin;
    high += margin;
  }
}
}  // namespace

AxisScale ExactScale(double low, double high, int ticks) {
  Widen(low, high);
  const double step = RoundStep(high - low, ticks);
  return {low, high, step, DecimalsFor(step)};
}

StepUnit StepUnitFor(double largestSteps) {
  if (largestSteps >= 1e9) return {1e9, "training steps (billions)"};
  if (largestSteps >= 1e6) return {1e6, "training steps (millions)"};
  if (largestSteps >= 1e4) return {1e3, "training steps (thousands)"};
  return {1.0, "training steps"};
}

AxisScale ValueScale(Extent values) {
  values.Include(0.0);
  const double room = 0.05 * std::max(values.high - values.low, 1e-12);
  return ExactScale(values.low < 0.0 ? values.low - room : 0.0, values.high + room, 5);
}

StepAxis StepAxisFor(Extent steps) {
  steps.Include(0.0);
  const StepUnit unit = StepUnitFor(std::max(std::abs(steps.low), std::abs(steps.high)));
  const double low = steps.low / unit.stepsPerUnit;
  const double high = std::max(steps.high / unit.stepsPerUnit, low + 1 / unit.stepsPerUnit);
  return {unit, ExactScale(low, high, 8)};
}
