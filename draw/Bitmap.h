#pragma once

#include <cstdint>
#include <vector>

#include "Colors.h"

// A plain 32-bit image, rows top to bottom, each pixel 0xAARRGGBB, so that a window can show it
// and a file can store it without conversion.
class Bitmap {
 public:
  Bitmap(int width, int height)
      : width_(width > 0 ? width : 0),
        height_(height > 0 ? height : 0),
        pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                PixelOf(clWhite)) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Callers keep (x, y) inside.
  std::uint32_t& At(int x, int y) { return pixels_[Index(x, y)]; }
  std::uint32_t At(int x, int y) const { return pixels_[Index(x, y)]; }
  TColor ColorAt(int x, int y) const { return ColorOf(At(x, y)); }

  const std::uint32_t* Data() const { return pixels_.data(); }
  bool operator==(const Bitmap&) const = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};
