#include "EnsembleFigure.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <algorithm>
#include <limits>

#include "ColumnDecimation.h"
#include "Events.h"
#include "PanelShares.h"

namespace {
enum PanelIndex : std::size_t { kResponses, kDominance };

std::vector<PanelShape> EnsemblePanels() {
  return {{{"largest response<br>mean \u00b1 SD", "largest<br>response<br>mean \u00b1 SD",
            "response<br>mean \u00b1 SD"},
           kEnsemblePanelShares[kResponses]},
          {DominanceGuides::Titles(), kEnsemblePanelShares[kDominance]}};
}

QColor Translucent(QColor colour) {
  colour.setAlpha(48);
  return colour;
}

// A group's mean is exactly kNoResponse where none of its units had a response.
Spread DrawnResponses(Spread spread) {
  return {DrawnResponse(spread.mean), spread.deviation};
}

Extent StepsOf(const EnsembleCourse& ensemble) {
  Extent steps;
  for (const EnsembleGroup& group : ensemble.groups) {
    if (group.points.empty()) continue;
    steps.Include(static_cast<double>(group.points.front().totalSteps));
    steps.Include(static_cast<double>(group.points.back().totalSteps));
  }
  IncludeEvents(steps, ensemble.events);
  return steps;
}

// The mean thinned as a line, keeping its extremes; the band by the outline of each edge.
// Returns the values the band spans.
template <class Value>
Extent ShowSpread(const EnsembleGroup& group, Value value, const SpreadSeries& series,
                  const StepAxis& steps, int columns) {
  const auto at = [&](double sides) {
    return [&, sides](std::size_t i) {
      const EnsemblePoint& point = group.points[i];
      const Spread spread = value(point);
      return PlotPoint{steps.ToUnits(point.totalSteps), spread.mean + sides * spread.deviation};
    };
  };
  const std::size_t count = group.points.size();
  const double from = steps.scale.low, to = steps.scale.high;
  const std::vector<PlotPoint> upper =
      EnvelopeByColumn(count, at(1), from, to, columns, BandEdge::Upper);
  const std::vector<PlotPoint> lower =
      EnvelopeByColumn(count, at(-1), from, to, columns, BandEdge::Lower);
  series.mean->replace(ToQt(DecimateByColumn(count, at(0), from, to, columns)));
  series.band->upperSeries()->replace(ToQt(upper));
  series.band->lowerSeries()->replace(ToQt(lower));
  Extent extent;
  for (const auto* edge : {&upper, &lower}) {
    for (const PlotPoint& point : *edge) extent.Include(point.y);
  }
  return extent;
}
}  // namespace

EnsembleFigure::EnsembleFigure(const EnsembleCourse& ensemble, double scale)
    : figure_(EnsemblePanels(), scale), guides_(figure_, kDominance) {
  // Every group's bands go in before any line, so that no band hides another group's line.
  for (std::size_t i = 0; i < ensemble.groups.size(); ++i) {
    const QColor colour = Translucent(ChartStyle::GroupColour(ensemble.groups[i].colour));
    groups_.push_back({{nullptr, figure_.PanelAt(kResponses).AddArea(colour)},
                       {nullptr, figure_.PanelAt(kResponses).AddArea(colour)},
                       {nullptr, figure_.PanelAt(kDominance).AddArea(colour)}});
  }
  for (std::size_t i = 0; i < ensemble.groups.size(); ++i) AddGroup(ensemble.groups[i], i);
  const ChartStyle& style = figure_.Style();
  key_.push_back({"left eye", style.Line(ChartStyle::QuietText())});
  key_.push_back({"right eye", style.Line(ChartStyle::QuietText(), 2, Qt::DashLine)});
}

void EnsembleFigure::AddGroup(const EnsembleGroup& group, std::size_t index) {
  const ChartStyle& style = figure_.Style();
  const QColor colour = ChartStyle::GroupColour(group.colour);
  GroupSeries& series = groups_[index];
  series.left.mean = figure_.PanelAt(kResponses).AddLine(style.Line(colour));
  series.right.mean = figure_.PanelAt(kResponses).AddLine(style.Line(colour, 2, Qt::DashLine));
  series.dominance.mean = figure_.PanelAt(kDominance).AddLine(style.Line(colour));
  key_.push_back({QString::fromStdString(group.label), style.Line(colour, 3)});
}

void EnsembleFigure::Resize(QSizeF size) {
  figure_.Resize(size);
  guides_.Place();
}

void EnsembleFigure::Show(const EnsembleCourse& ensemble) {
  const StepAxis axis = StepAxisFor(StepsOf(ensemble));
  Extent responses;
  for (std::size_t i = 0; i < groups_.size() && i < ensemble.groups.size(); ++i) {
    responses.Include(ShowGroup(ensemble.groups[i], i, axis));
  }
  figure_.PanelAt(kResponses).SetValues(ValueScale(responses));
  guides_.Show(axis);
  figure_.ShowSession(axis, ensemble.events, ensemble.caption, key_);
  guides_.Place();  // the key may have taken another height
  figure_.ShowLogged(std::any_of(ensemble.groups.begin(), ensemble.groups.end(),
                                 [](const EnsembleGroup& group) { return !group.points.empty(); }));
}

Extent EnsembleFigure::ShowGroup(const EnsembleGroup& group, std::size_t index,
                                 const StepAxis& steps) const {
  const GroupSeries& series = groups_[index];
  const int columns = figure_.Columns();
  const Extent left = ShowSpread(
      group, [](const EnsemblePoint& p) { return DrawnResponses(p.maxLeft); }, series.left, steps,
      columns);
  const Extent right = ShowSpread(
      group, [](const EnsemblePoint& p) { return DrawnResponses(p.maxRight); }, series.right, steps,
      columns);
  // The dominance scale is fixed, whatever its bands span.
  ShowSpread(
      group, [](const EnsemblePoint& p) { return p.odi; }, series.dominance, steps, columns);
  Extent both = left;
  both.Include(right);
  return both;
}
