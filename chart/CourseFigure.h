#pragma once

#include "Course.h"
#include "DominanceGuides.h"
#include "StackedFigure.h"
#include "StepWindow.h"

class QLineSeries;

// A session's course in three panels over its steps: the largest response of each eye, the
// threshold, the ocular dominance. Shown again and again as the course grows, it changes only
// its series' points.
class CourseFigure {
 public:
  explicit CourseFigure(double scale);

  void Resize(QSizeF size);
  void Show(const Course& course, const StepWindow& window = {});
  QGraphicsScene& Scene() const { return figure_.Scene(); }
  // The steps the axis spans as last shown.
  const Extent& ShownSteps() const { return shown_; }
  // Where the plots lie in the scene, their steps running from left to right.
  const Box& PlotArea() const { return figure_.PlotBox(0); }

 private:
  QLineSeries* AddLine(std::size_t panel, const QColor& colour, double width = 2.0);
  void ShowLine(QLineSeries& line, const std::vector<PlotPoint>& points) const;

  StackedFigure figure_;
  DominanceGuides guides_;
  QLineSeries* left_;
  QLineSeries* right_;
  QLineSeries* theta_;
  QLineSeries* dominance_;
  std::vector<LegendEntry> key_;
  Extent shown_;
};

// A course's steps: from 0 to the last of its points and events.
Extent CourseSteps(const Course& course);
