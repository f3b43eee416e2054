#pragma once

#include <QBrush>
#include <QPen>
#include <vector>

#include "AxisTicks.h"
#include "ColumnDecimation.h"
#include "FigureLayout.h"

class QGraphicsPathItem;
class QGraphicsScene;

// A line, or a band filled between two edges, drawn as one path. Qt Charts draws a solid line a
// segment at a time, which an SVG file keeps as thousands of elements per line, heavy to edit; a
// path is one element. The points stay in the data's units and are mapped onto the plot area
// whenever it or the scales change.
class PlotPath {
 public:
  // Drawn over the panels' charts and under the notes on them.
  PlotPath(QGraphicsScene& scene, const QPen& pen, const QBrush& fill);
  PlotPath(const PlotPath&) = delete;
  PlotPath& operator=(const PlotPath&) = delete;

  // A line through the points in their order.
  void SetLine(std::vector<PlotPoint> points);
  // The band between an upper and a lower edge, each in step order, as one closed outline.
  void SetBand(const std::vector<PlotPoint>& upper, const std::vector<PlotPoint>& lower);
  // A point beyond the scales is drawn at their edge: an SVG file keeps no clipping.
  void Map(const Box& plot, const AxisScale& steps, const AxisScale& values);

 private:
  void Draw();

  QGraphicsPathItem* item_;
  std::vector<PlotPoint> points_;
  bool closed_ = false;
  Box plot_;
  AxisScale steps_, values_;
};
