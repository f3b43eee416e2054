#pragma once

#include <QString>
#include <cstddef>
#include <vector>

#include "AxisTicks.h"

class QGraphicsSimpleTextItem;
class QLineSeries;
class StackedFigure;

// The ocular dominance panel's reading aids: the fixed scale -1..1 (so that figures compare at a
// glance), a line at 0 where neither eye dominates, and which eye each half of the panel means.
class DominanceGuides {
 public:
  // Add before the panel's data, so that the data is drawn over the guides.
  DominanceGuides(StackedFigure& figure, std::size_t panel);

  void Show(const StepAxis& steps);
  // The panel's titles, longest first.
  static std::vector<QString> Titles();
  // Puts the notes in the panel's corners; again whenever the figure is resized.
  void Place();

 private:
  StackedFigure& figure_;
  std::size_t panel_;
  QLineSeries* balance_;
  QGraphicsSimpleTextItem* rightDominant_;
  QGraphicsSimpleTextItem* leftDominant_;
};
