#pragma once

#include <vector>

#include "Course.h"
#include "DominanceGuides.h"
#include "StackedFigure.h"

class PlotPath;

// One value of an ensemble group as drawn: its mean line and its band.
struct SpreadSeries {
  PlotPath* mean;
  PlotPath* band;
};

// An ensemble's course: for each group, the mean over its units as a line in the group's colour
// and a band one standard deviation either side, outlined so that overlapping bands stay apart.
// Each eye's largest response has a panel of its own, on one scale, so that the open eye's lines
// never hide the closed eye's; the lowest panel holds the ocular dominance. Lines and bands are
// one path each, light to edit in an SVG file.
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
