#include "Canvas.h"

#include <algorithm>
#include <cstring>

namespace {
// Products of two int ranges overflow 64 bits on the way; 128 are plenty.
__extension__ typedef __int128 Wide;

Wide FloorDiv(Wide numerator, Wide denominator) {
  Wide quotient = numerator / denominator;
  if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) --quotient;
  return quotient;
}

// Point i of a line of n steps from start over delta, rounded half up: exact and monotone in i.
long long Along(long long start, long long delta, long long n, long long i) {
  return start + static_cast<long long>(FloorDiv(Wide{2} * i * delta + n, Wide{2} * n));
}

// Walks the points of Along one step at a time, without division.
class Walker {
 public:
  Walker(long long start, long long delta, long long n, long long i)
      : increment_(2 * delta), span_(2 * n) {
    const Wide numerator = Wide{2} * i * delta + n;
    const Wide quotient = FloorDiv(numerator, span_);
    remainder_ = static_cast<long long>(numerator - quotient * span_);
    value_ = start + static_cast<long long>(quotient);
  }
  long long Value() const { return value_; }
  void Next() {
    remainder_ += increment_;
    if (remainder_ >= span_) {
      remainder_ -= span_;
      ++value_;
    } else if (remainder_ < 0) {
      remainder_ += span_;
      --value_;
    }
  }

 private:
  long long increment_, span_, remainder_, value_;
};

// The first step in [low, high) at which the monotone inside(i) changes from its value at low;
// high if it never does.
template <class Predicate>
long long FirstChange(long long low, long long high, Predicate inside) {
  const bool initial = inside(low);
  while (low < high) {
    const long long middle = low + (high - low) / 2;
    if (inside(middle) == initial) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

// The steps [first, last) of a monotone coordinate that fall inside [0, limit).
std::pair<long long, long long> StepsInside(long long start, long long delta, long long n,
                                            long long limit) {
  auto at = [&](long long i) { return Along(start, delta, n, i); };
  const bool rising = delta >= 0;
  // With a rising coordinate, steps are first below 0, then inside, then at or past limit.
  auto notYetIn = [&](long long i) { return rising ? at(i) < 0 : at(i) >= limit; };
  auto stillIn = [&](long long i) { return rising ? at(i) < limit : at(i) >= 0; };
  const long long first = notYetIn(0) ? FirstChange(0, n, notYetIn) : 0;
  if (first >= n || !stillIn(first)) return {0, 0};
  return {first, FirstChange(first, n, stillIn)};
}
}  // namespace

void TCanvas::SetBrushColor(TColor color) {
  Flush();
  brushColor_ = color;
}

void TCanvas::SetPenColor(TColor color) {
  Flush();
  penColor_ = color;
}

void TCanvas::DrawLater(std::function<void(TCanvas&)> drawing) {
  pending_ = std::move(drawing);
  Changed();
}

void TCanvas::Flush() {
  if (!pending_) return;
  const std::function<void(TCanvas&)> drawing = std::move(pending_);
  pending_ = nullptr;
  drawing(*this);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  const long long left = std::min(x1, x2), right = std::max(x1, x2);
  const long long top = std::min(y1, y2), bottom = std::max(y1, y2);
  if (left == right || top == bottom) return;
  Fill(left, top, right, top + 1, penColor_);
  Fill(left, bottom - 1, right, bottom, penColor_);
  Fill(left, top + 1, left + 1, bottom - 1, penColor_);
  Fill(right - 1, top + 1, right, bottom - 1, penColor_);
  Fill(left + 1, top + 1, right - 1, bottom - 1, brushColor_);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  Flush();
  penX_ = x;
  penY_ = y;
}

void TCanvas::LineTo(int x, int y) {
  Flush();
  const long long dx = static_cast<long long>(x) - penX_;
  const long long dy = static_cast<long long>(y) - penY_;
  const long long n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
  if (n > 0) {
    // Only the steps inside the bitmap are walked, however far away the end points lie.
    const auto [xFirst, xLast] = StepsInside(penX_, dx, n, target_.Width());
    const auto [yFirst, yLast] = StepsInside(penY_, dy, n, target_.Height());
    const long long first = std::max(xFirst, yFirst);
    Walker px(penX_, dx, n, first), py(penY_, dy, n, first);
    for (long long i = first; i < std::min(xLast, yLast); ++i, px.Next(), py.Next()) {
      Plot(px.Value(), py.Value(), penColor_);
    }
    Changed();
  }
  MoveTo(x, y);
}

void TCanvas::Draw(int x, int y, const Bitmap& picture) {
  Flush();
  for (int row = 0; row < picture.Height(); ++row) {
    for (int column = 0; column < picture.Width(); ++column) {
      Plot(static_cast<long long>(x) + column, static_cast<long long>(y) + row,
           picture.ColorAt(column, row));
    }
  }
  Changed();
}

void TCanvas::Fill(long long left, long long top, long long right, long long bottom, TColor color) {
  const int x0 = static_cast<int>(std::clamp(left, 0LL, static_cast<long long>(target_.Width())));
  const int x1 = static_cast<int>(std::clamp(right, 0LL, static_cast<long long>(target_.Width())));
  const int y0 = static_cast<int>(std::clamp(top, 0LL, static_cast<long long>(target_.Height())));
  const int y1 =
      static_cast<int>(std::clamp(bottom, 0LL, static_cast<long long>(target_.Height())));
  if (x0 >= x1 || y0 >= y1) return;
  const std::uint32_t pixel = PixelOf(color);
  auto fillRow = [pixel](std::uint32_t* row, std::size_t count) {
    // White, black and greys repeat one byte: memset stores them fastest.
    const auto byte = static_cast<unsigned char>(pixel);
    if (pixel == 0x01010101U * byte) {
      std::memset(row, byte, count * sizeof *row);
    } else {
      std::fill_n(row, count, pixel);
    }
  };
  const auto width = static_cast<std::size_t>(x1 - x0);
  if (width == static_cast<std::size_t>(target_.Width())) {
    return fillRow(&target_.At(0, y0), width * static_cast<std::size_t>(y1 - y0));
  }
  // Wide rows are copied from the first, which runs far faster than storing pixel by pixel; a
  // narrow one (a bar's edge) costs less to store than to copy.
  constexpr std::size_t kCopyFrom = 64;
  std::uint32_t* first = &target_.At(x0, y0);
  fillRow(first, width);
  for (int y = y0 + 1; y < y1; ++y) {
    std::uint32_t* row = &target_.At(x0, y);
    if (width >= kCopyFrom) {
      std::memcpy(row, first, width * sizeof *first);
    } else {
      std::fill_n(row, width, pixel);
    }
  }
}

void TCanvas::Plot(long long x, long long y, TColor color) {
  if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height()) return;
  target_.At(static_cast<int>(x), static_cast<int>(y)) = PixelOf(color);
}

void TCanvas::Changed() {
  if (OnChange) OnChange();
}
