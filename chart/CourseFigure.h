#pragma once

#include "Course.h"
#include "DominanceGuides.h"
#include "StackedFigure.h"

class QLineSeries;

// A session's course in three panels over its steps: the largest response of each eye, the
// threshold, the ocular dominance. Shown again and again as the course grows, it changes only
// its series' points.
class CourseFigure {
 public:
  explicit CourseFigure(double scale);

  void Resize(QSizeF size);
  void Show(const Course& course);
  QGraphicsScene& Scene() const { return figure_.Scene(); }

 private:
  QLineSeries* AddLine(std::size_t panel, const QColor& colour);
  void ShowLine(QLineSeries& line, const std::vector<PlotPoint>& points) const;

  StackedFigure figure_;
  DominanceGuides guides_;
  QLineSeries* left_;
  QLineSeries* right_;
  QLineSeries* theta_;
  QLineSeries* dominance_;
  std::vector<LegendEntry> key_;
};
