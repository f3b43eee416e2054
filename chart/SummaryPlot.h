#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What the summary figure of an ensemble is drawn from: plain values, so that a program without
// Qt of its own can describe it.

// What an error bar spans either side of a mean.
enum class ErrorBars { kSd, kSem, kCi95 };

// The units of one combination at one value of the first listed parameter.
struct SummaryPoint {
  double x = 0.0;
  double mean = 0.0;
  double error = 0.0;          // half the bar; 0 for a lone value
  std::vector<double> values;  // each unit's, for a strip plot
};

// One combination of the other lists' values.
struct SummaryLine {
  std::string label;
  std::vector<SummaryPoint> points;  // by x
};

// One check: its name and a line for each combination with a value there.
struct SummaryPanel {
  std::string check;
  std::vector<SummaryLine> lines;
};

struct SummaryPlot {
  std::string xTitle;      // the first listed parameter; "" draws a strip plot of every value
  std::string valueTitle;  // the value the panels show
  std::vector<SummaryPanel> panels;
  std::vector<std::string> lineLabels;  // every line's label, its place its colour in every panel
  std::string caption;
};
