#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <clocale>
#include <cmath>
#include <set>
#include <utility>

#include "Canvas.h"
#include "NumberFormat.h"
#include "Stretch.h"

namespace {
constexpr TColor kPen = 0x123456, kBrush = 0xABCDEF, kPaper = clWhite;

// What a rectangle should leave, pixel by pixel, from the rule alone: outline on the first and
// last covered column and row, brush inside, paper elsewhere.
Bitmap ExpectedRectangle(int size, int x1, int y1, int x2, int y2) {
  Bitmap expected(size, size);
  const int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (x < l || x >= r || y < t || y >= b) continue;
      const bool edge = x == l || x == r - 1 || y == t || y == b - 1;
      expected.At(x, y) = PixelOf(edge ? kPen : kBrush);
    }
  }
  return expected;
}

Bitmap Drawn(int size, int x1, int y1, int x2, int y2) {
  Bitmap bitmap(size, size);
  TCanvas canvas(bitmap);
  canvas.SetPenColor(kPen);
  canvas.SetBrushColor(kBrush);
  canvas.Rectangle(x1, y1, x2, y2);
  return bitmap;
}

std::set<std::pair<int, int>> PenPixels(const Bitmap& bitmap) {
  std::set<std::pair<int, int>> pixels;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.ColorAt(x, y) == kPen) pixels.insert({x, y});
    }
  }
  return pixels;
}

std::set<std::pair<int, int>> Line(int size, int x0, int y0, int x1, int y1) {
  Bitmap bitmap(size, size);
  TCanvas canvas(bitmap);
  canvas.SetPenColor(kPen);
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
  return PenPixels(bitmap);
}
}  // namespace

// Corners in any order, empty and thin rectangles, and rectangles past every edge of the bitmap.
TEST(Rectangle, OutlinesWithThePenAndFillsWithTheBrushRightAndBottomEdgesExcluded) {
  const std::vector<std::array<int, 5>> rectangles = {
      {12, 2, 3, 9, 8},   {12, 9, 8, 2, 3},   {12, 9, 3, 2, 8},     {12, 2, 8, 9, 3},
      {12, 5, 8, 9, 8},   {12, 4, 2, 4, 9},   {12, 2, 5, 9, 6},     {12, 3, 2, 5, 9},
      {10, -5, -5, 3, 3}, {10, 7, 6, 20, 30}, {10, -1, -1, 11, 11}, {10, 20, 20, 30, 30}};
  for (const auto& [size, x1, y1, x2, y2] : rectangles) {
    EXPECT_EQ(Drawn(size, x1, y1, x2, y2), ExpectedRectangle(size, x1, y1, x2, y2))
        << x1 << "," << y1 << " " << x2 << "," << y2;
  }
  // The rule itself, in pixels: its corner, the excluded edges, the inside, a thin one's outline.
  EXPECT_EQ(Drawn(12, 2, 3, 9, 8).ColorAt(8, 7), kPen);
  EXPECT_EQ(Drawn(12, 2, 3, 9, 8).ColorAt(9, 8), kPaper);
  EXPECT_EQ(Drawn(12, 2, 3, 9, 8).ColorAt(3, 4), kBrush);
  EXPECT_EQ(Drawn(12, 5, 8, 9, 8), Bitmap(12, 12));
  EXPECT_EQ(PenPixels(Drawn(12, 2, 5, 9, 6)).size(), 7U);
  EXPECT_EQ(PenPixels(Drawn(12, 3, 2, 5, 9)).size(), 14U);  // two columns, no inside
  const Bitmap everything = Drawn(10, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(everything.ColorAt(x, y), kBrush);
  }
}

TEST(LineTo, LeavesOutTheEndPointHorizontallyVerticallyAndAslant) {
  EXPECT_EQ(Line(10, 1, 4, 6, 4),
            (std::set<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}}));
  EXPECT_EQ(Line(10, 6, 4, 1, 4),
            (std::set<std::pair<int, int>>{{6, 4}, {5, 4}, {4, 4}, {3, 4}, {2, 4}}));
  EXPECT_EQ(Line(10, 3, 0, 3, 3), (std::set<std::pair<int, int>>{{3, 0}, {3, 1}, {3, 2}}));
  EXPECT_EQ(Line(10, 0, 0, 4, 4), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  EXPECT_TRUE(Line(10, 4, 4, 4, 4).empty());
}

// Any line: one pixel per step of its longer axis, the start in and the end out, every pixel
// within half a pixel of the true line across that axis.
TEST(LineTo, AnySlopeGivesOnePixelPerStepCloseToTheTrueLine) {
  for (int x1 = 0; x1 < 24; x1 += 3) {
    for (int y1 = 0; y1 < 24; y1 += 5) {
      const int x0 = 11, y0 = 7;
      const auto pixels = Line(24, x0, y0, x1, y1);
      const int dx = x1 - x0, dy = y1 - y0, n = std::max(std::abs(dx), std::abs(dy));
      ASSERT_EQ(pixels.size(), static_cast<std::size_t>(n)) << x1 << "," << y1;
      if (n == 0) continue;
      EXPECT_TRUE(pixels.count({x0, y0}));
      EXPECT_FALSE(pixels.count({x1, y1}));
      for (const auto& [x, y] : pixels) {
        if (std::abs(dx) >= std::abs(dy)) {
          EXPECT_LE(std::abs(y - (y0 + static_cast<double>(x - x0) * dy / dx)), 0.5);
        } else {
          EXPECT_LE(std::abs(x - (x0 + static_cast<double>(y - y0) * dx / dy)), 0.5);
        }
      }
    }
  }
}

TEST(LineTo, IsClippedAndWalksOnlyTheVisiblePartOfHugeLines) {
  std::set<std::pair<int, int>> diagonal;
  for (int i = 0; i < 10; ++i) diagonal.insert({i, i});
  EXPECT_EQ(Line(10, -1000, -1000, 1000, 1000), diagonal);
  EXPECT_EQ(Line(10, INT_MIN, 5, INT_MAX, 5).size(), 10U);
  EXPECT_EQ(Line(10, 5, INT_MAX, 5, INT_MIN).size(), 10U);
  EXPECT_EQ(Line(10, INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);
  EXPECT_TRUE(Line(10, -5, 20, 20, 20).empty());
}

TEST(LineTo, MovesThePenToItsEndAndEveryDrawingTellsOnChange) {
  Bitmap bitmap(10, 10);
  TCanvas canvas(bitmap);
  int changes = 0;
  canvas.OnChange = [&changes] { ++changes; };
  canvas.SetPenColor(kPen);
  canvas.MoveTo(0, 2);
  canvas.LineTo(4, 2);
  canvas.LineTo(4, 6);
  EXPECT_EQ(PenPixels(bitmap).size(), 8U);
  EXPECT_EQ(bitmap.ColorAt(4, 2), kPen);
  EXPECT_EQ(bitmap.ColorAt(4, 6), kPaper);
  canvas.Rectangle(1, 1, 3, 3);
  EXPECT_EQ(changes, 3);
}

TEST(Colors, NumbersKeepBlueInTheHighByte) {
  EXPECT_EQ(PixelOf(clRed), 0xFFFF0000U);
  EXPECT_EQ(PixelOf(clGreen), 0xFF008000U);
  EXPECT_EQ(PixelOf(clSilver), 0xFFC0C0C0U);
  EXPECT_EQ(PixelOf(0xFF0000), 0xFF0000FFU);
  EXPECT_EQ(ColorOf(PixelOf(0x123456)), 0x123456U);
}

TEST(NumberFormat, FixedRoundsToTheDigitsWithAFullStopInAnyLocale) {
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  EXPECT_TRUE(german) << "de_DE.UTF-8 is not generated; tools/deps.sh makes it";
  EXPECT_EQ(FloatToStrF(0.0123456, ffFixed, 10, 5), "0.01235");
  EXPECT_EQ(FloatToStrF(0.005, ffFixed, 10, 4), "0.0050");
  EXPECT_EQ(FloatToStrF(10.0, ffFixed, 10, 1), "10.0");
  EXPECT_EQ(FloatToStrF(-2.5, ffFixed, 10, 3), "-2.500");
  EXPECT_EQ(FloatToStrF(0.4, ffFixed, 10, 0), "0");
  EXPECT_EQ(FloatToStrF(1e300, ffFixed, 10, 2).size(), 304U);
  EXPECT_EQ(IntToStr(1000), "1000");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  std::setlocale(LC_ALL, "C");
}

TEST(Stretch, ShrinkingAveragesEveryPixelABlockCoversAndGrowingRepeatsThem) {
  // Every pixel differs, so picking any one pixel of a block cannot give the block's mean.
  Bitmap source(4, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      const auto level = static_cast<std::uint32_t>(0x10 * (x + 4 * y));
      source.At(x, y) = 0xFF000000U | level << 16 | level << 8 | (0xFF - level);
    }
  }
  const Bitmap half = Stretch(source, 2, 1);
  // Left block: levels 0x00, 0x10, 0x40, 0x50, mean 0x28; right block: 0x20, 0x30, 0x60, 0x70.
  EXPECT_EQ(half.At(0, 0), 0xFF2828D7U);
  EXPECT_EQ(half.At(1, 0), 0xFF4848B7U);
  const Bitmap grown = Stretch(source, 121, 153);
  ASSERT_EQ(grown.Width(), 121);
  ASSERT_EQ(grown.Height(), 153);
  for (int y = 0; y < 153; ++y) {
    for (int x = 0; x < 121; ++x) {
      ASSERT_EQ(grown.At(x, y), source.At(x * 4 / 121, y * 2 / 153)) << x << "," << y;
    }
  }
}
