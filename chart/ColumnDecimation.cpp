#include "ColumnDecimation.h"

#include <algorithm>
#include <utility>

ColumnDecimation::ColumnDecimation(double xFrom, double xTo, int columns)
    : xFrom_(xFrom),
      columnsPerX_(xTo > xFrom ? std::max(columns, 1) / (xTo - xFrom) : 0.0),
      lastColumn_(std::max(columns, 1) - 1) {}

long ColumnDecimation::ColumnOf(double x) const {
  const double column = std::floor((x - xFrom_) * columnsPerX_);
  // Clamped as a double first: a wild x must not overflow the conversion.
  return static_cast<long>(std::clamp(column, 0.0, static_cast<double>(lastColumn_)));
}

void ColumnDecimation::StartColumn(long column, PlotPoint point) {
  FlushColumn();
  column_ = column;
  count_ = 0;
  first_ = low_ = high_ = last_ = Indexed{point, 0};
}

void ColumnDecimation::FlushColumn() {
  if (count_ == 0) return;
  Indexed inOrder[] = {first_, low_, high_, last_};
  std::sort(std::begin(inOrder), std::end(inOrder),
            [](const Indexed& a, const Indexed& b) { return a.index < b.index; });
  for (std::size_t i = 0; i < std::size(inOrder); ++i) {
    if (i == 0 || inOrder[i].index != inOrder[i - 1].index) kept_.push_back(inOrder[i].point);
  }
}

std::vector<PlotPoint> ColumnDecimation::Take() {
  FlushColumn();
  count_ = 0;
  column_ = -1;
  return std::exchange(kept_, {});
}
