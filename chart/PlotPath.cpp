#include "PlotPath.h"

#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
// Where value falls between the scale's low and high, from 0 to 1.
double Fraction(double value, const AxisScale& scale) {
  const double span = scale.high - scale.low;
  return span > 0 ? std::clamp((value - scale.low) / span, 0.0, 1.0) : 0.0;
}

// A tenth of a pixel is finer than any screen or print shows, and an SVG file keeps each
// coordinate in fewer digits.
double Rounded(double pixels) {
  return std::round(pixels * 10) / 10;
}
}  // namespace

PlotPath::PlotPath(QGraphicsScene& scene, const QPen& pen, const QBrush& fill)
    : item_(scene.addPath({}, pen, fill)) {
  item_->setZValue(0.5);
}

void PlotPath::SetLine(std::vector<PlotPoint> points) {
  points_ = std::move(points);
  closed_ = false;
  Draw();
}

void PlotPath::SetBand(const std::vector<PlotPoint>& upper, const std::vector<PlotPoint>& lower) {
  points_ = upper;
  points_.insert(points_.end(), lower.rbegin(), lower.rend());
  closed_ = true;
  Draw();
}

void PlotPath::Map(const Box& plot, const AxisScale& steps, const AxisScale& values) {
  plot_ = plot;
  steps_ = steps;
  values_ = values;
  Draw();
}

void PlotPath::Draw() {
  QPainterPath path;
  for (const PlotPoint& point : points_) {
    const QPointF at(Rounded(plot_.left + Fraction(point.x, steps_) * plot_.width),
                     Rounded(plot_.Bottom() - Fraction(point.y, values_) * plot_.height));
    if (path.elementCount() == 0) {
      path.moveTo(at);
    } else {
      path.lineTo(at);
    }
  }
  if (closed_) path.closeSubpath();
  item_->setPath(path);
}
