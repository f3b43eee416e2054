#pragma once

#include <span>
#include <vector>

struct Box {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;

  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
};

// Where the parts of a figure of stacked panels go: the legend across the top, a row for the
// labels of the closed-eye bands right above the top panel, the panels' plot areas one under the
// other with equal left and right edges (so that they share the step axis), the caption at the
// foot. Sizes grow with the figure, so a large picture is not all margin.
struct FigureLayout {
  double scale = 1.0;  // 1 at the default size; fonts, pens and margins are multiplied by it
  Box legend;
  Box bandLabels;
  std::vector<Box> plots;
  Box caption;
};

// The scale at which a figure of this size is drawn to a file.
double FigureScale(double width, double height);

// The panels' heights are in proportion to shares. legendHeight: the key's, when it needs more
// than its usual row.
FigureLayout LayOutFigure(double width, double height, double scale, std::span<const double> shares,
                          double legendHeight = 0);
