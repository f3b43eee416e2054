#pragma once

#include <vector>

#include "Course.h"
#include "DominanceGuides.h"
#include "StackedFigure.h"

class QAreaSeries;
class QLineSeries;

// One value of an ensemble group as drawn: its mean line and its band.
struct SpreadSeries {
  QLineSeries* mean;
  QAreaSeries* band;
};

// An ensemble's course: for each group, the mean over its units as a line in the group's colour
// and a band one standard deviation either side. The top panel holds both eyes' largest
// responses (the left eye's line solid, the right eye's dashed), the lower one the ocular
// dominance.
class EnsembleFigure {
 public:
  EnsembleFigure(const EnsembleCourse& ensemble, double scale);

  void Resize(QSizeF size);
  void Show(const EnsembleCourse& ensemble);
  QGraphicsScene& Scene() const { return figure_.Scene(); }

 private:
  void AddGroup(const EnsembleGroup& group, std::size_t index);
  // Returns the values the group's response bands span.
  Extent ShowGroup(const EnsembleGroup& group, std::size_t index, const StepAxis& steps) const;

  struct GroupSeries {
    SpreadSeries left, right, dominance;
  };

  StackedFigure figure_;
  DominanceGuides guides_;
  std::vector<GroupSeries> groups_;
  std::vector<LegendEntry> key_;
};
