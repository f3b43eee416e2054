#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

struct PlotPoint {
  double x = 0.0;
  double y = 0.0;
};

// Thins a line for drawing without losing its shape: of the points that fall in one pixel column,
// only the first, the lowest, the highest and the last can be seen, so only those are kept (in
// their order). Every extreme survives, however many millions of points share a column. Points
// are fed in the order they are drawn; points whose value is not finite cannot be drawn and are
// passed over.
class ColumnDecimation {
 public:
  // Columns split [xFrom, xTo] evenly; points outside it count to the nearest column.
  ColumnDecimation(double xFrom, double xTo, int columns);

  void Add(PlotPoint point) {
    if (!std::isfinite(point.y)) return;
    const long column = ColumnOf(point.x);
    if (column != column_) StartColumn(column, point);
    if (point.y < low_.point.y) low_ = Indexed{point, count_};
    if (point.y > high_.point.y) high_ = Indexed{point, count_};
    last_ = Indexed{point, count_};
    ++count_;
  }

  // The kept points; the decimation is then empty again.
  std::vector<PlotPoint> Take();

  // The pixel column of a point at x.
  long ColumnOf(double x) const;

 private:
  struct Indexed {
    PlotPoint point;
    std::size_t index = 0;
  };

  void StartColumn(long column, PlotPoint point);
  void FlushColumn();

  double xFrom_;
  double columnsPerX_;
  long lastColumn_;
  long column_ = -1;
  std::size_t count_ = 0;
  Indexed first_, low_, high_, last_;
  std::vector<PlotPoint> kept_;
};

// The decimation of count points, the i-th being pointAt(i).
template <class PointAt>
std::vector<PlotPoint> DecimateByColumn(std::size_t count, PointAt pointAt, double xFrom,
                                        double xTo, int columns) {
  ColumnDecimation decimation(xFrom, xTo, columns);
  for (std::size_t i = 0; i < count; ++i) decimation.Add(pointAt(i));
  return decimation.Take();
}

enum class BandEdge { Upper, Lower };

// The outline of a filled band's edge: of the points in one pixel column only the highest (upper
// edge) or the lowest (lower edge), in column order. Whatever lies inside is filled anyway, so
// the band covers the same pixels with a quarter of the points ColumnDecimation keeps, and far
// fewer crossings for the rasteriser to fill.
template <class PointAt>
std::vector<PlotPoint> EnvelopeByColumn(std::size_t count, PointAt pointAt, double xFrom,
                                        double xTo, int columns, BandEdge edge) {
  const ColumnDecimation columnsOf(xFrom, xTo, columns);
  std::vector<PlotPoint> kept;
  long column = -1;
  for (std::size_t i = 0; i < count; ++i) {
    const PlotPoint point = pointAt(i);
    if (!std::isfinite(point.y)) continue;
    const long pointColumn = columnsOf.ColumnOf(point.x);
    if (pointColumn != column) {
      kept.push_back(point);
      column = pointColumn;
    } else if (edge == BandEdge::Upper ? point.y > kept.back().y : point.y < kept.back().y) {
      kept.back() = point;
    }
  }
  return kept;
}
