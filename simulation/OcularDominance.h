#pragma once

#include <limits>

// (R - L) / (R + L) of the two eyes' largest responses, from -1 (the left eye alone drives the
// neuron) to 1 (the right eye alone); NaN when R + L <= 0: no response, so no dominance either.
inline double OcularDominance(double left, double right) {
  const double sum = left + right;
  if (!(sum > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  return (right - left) / sum;
}
