#include "Stretch.h"

#include <algorithm>
#include <cstdint>

Bitmap Stretch(const Bitmap& source, int width, int height) {
  Bitmap target(width, height);
  if (source.Width() == 0 || source.Height() == 0) return target;
  for (int y = 0; y < target.Height(); ++y) {
    const int top = y * source.Height() / height;
    const int bottom = std::max(top + 1, (y + 1) * source.Height() / height);
    for (int x = 0; x < target.Width(); ++x) {
      const int left = x * source.Width() / width;
      const int right = std::max(left + 1, (x + 1) * source.Width() / width);
      std::uint32_t sum[3] = {0, 0, 0};
      for (int sy = top; sy < bottom; ++sy) {
        for (int sx = left; sx < right; ++sx) {
          const std::uint32_t pixel = source.At(sx, sy);
          sum[0] += pixel >> 16 & 0xFF;
          sum[1] += pixel >> 8 & 0xFF;
          sum[2] += pixel & 0xFF;
        }
      }
      const auto count = static_cast<std::uint32_t>((bottom - top) * (right - left));
      target.At(x, y) =
          0xFF000000U | (sum[0] / count) << 16 | (sum[1] / count) << 8 | sum[2] / count;
    }
  }
  return target;
}
