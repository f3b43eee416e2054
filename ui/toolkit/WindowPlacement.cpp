#include "WindowPlacement.h"

#include <algorithm>

namespace {
// The start of a span of length `size` nearest `wanted` within [first, first + room).
int Fit(int wanted, int size, int first, int room) {
  return std::clamp(wanted, first, first + std::max(0, room - size));
}
}  // namespace

ScreenRect PlaceWindow(const ScreenRect& wanted, const ScreenRect& available) {
  const int width = std::min(wanted.width, available.width);
  const int height = std::min(wanted.height, available.height);
  return {Fit(wanted.left, width, available.left, available.width),
          Fit(wanted.top, height, available.top, available.height), width, height};
}
