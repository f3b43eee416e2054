#pragma once

#include <algorithm>
#include <vector>

#include "Bitmap.h"

// The plot a neuron should give, built from the drawing rules alone.
inline Bitmap ExpectedPlot(const std::vector<double>& weights, int thresholdRow) {
  Bitmap expected(369, 121);
  for (int x = 0; x < 369; ++x) {
    if (thresholdRow >= 0 && thresholdRow < 121) expected.At(x, thresholdRow) = PixelOf(clSilver);
  }
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const int top = static_cast<int>(80 - weights[i] * 100);
    const int low = std::min(top, 80), high = std::max(top, 80);
    const int left = 15 * static_cast<int>(i) + 5;
    for (int y = std::max(low, 0); y < std::min(high, 121); ++y) {
      for (int x = left; x < left + 10; ++x) {
        const bool edge = x == left || x == left + 9 || y == low || y == high - 1;
        expected.At(x, y) = PixelOf(edge ? clBlack : clGreen);
      }
    }
  }
  for (int y = 0; y < 121; ++y) expected.At(182, y) = PixelOf(clRed);
  return expected;
}
