#include "FigureLayout.h"

#include <algorithm>
#include <numeric>

#include "CourseChart.h"

namespace {
// Room at scale 1, in pixels: the value axes' labels and two-line titles on the left; the legend
// and the row of band labels above; the step axis's labels and title, then the caption, below.
constexpr double kLeft = 104, kRight = 28, kTop = 70, kBottom = 92, kGap = 18;
constexpr double kLegendTop = 2, kLegendHeight = 36, kBandRowHeight = 20;
constexpr double kCaptionHeight = 22, kCaptionInset = 14;
}  // namespace

double FigureScale(double width, double height) {
  // Below 7/13 the tick labels' 13 pixels would fall under the 7 of the smallest font drawn, and
  // the text would take more room than the layout leaves it.
  return std::clamp(std::min(width / kDefaultChartWidth, height / kDefaultChartHeight), 7.0 / 13,
                    4.0);
}

FigureLayout LayOutFigure(double width, double height, double scale, std::span<const double> shares,
                          double legendHeight) {
  FigureLayout layout;
  const double s = layout.scale = scale;
  const double more = std::max(0.0, legendHeight - kLegendHeight * s);  // below the key
  const double plotWidth = std::max(width - (kLeft + kRight) * s, 1.0);
  const double gaps = kGap * s * static_cast<double>(std::max<std::size_t>(shares.size(), 1) - 1);
  const double plotsHeight = std::max(height - (kTop + kBottom) * s - more - gaps, 1.0);
  const double total = std::accumulate(shares.begin(), shares.end(), 0.0);
  double top = kTop * s + more;
  for (const double share : shares) {
    const double panelHeight = total > 0 ? plotsHeight * share / total : 0.0;
    layout.plots.push_back({kLeft * s, top, plotWidth, panelHeight});
    top += panelHeight + kGap * s;
  }
  layout.bandLabels = {kLeft * s, (kTop - kBandRowHeight) * s + more, plotWidth,
                       kBandRowHeight * s};
  layout.legend = {kCaptionInset * s, kLegendTop * s, width - 2 * kCaptionInset * s,
                   kLegendHeight * s + more};
  layout.caption = {kCaptionInset * s, height - (kCaptionHeight + 6) * s,
                    width - 2 * kCaptionInset * s, kCaptionHeight * s};
  return layout;
}
