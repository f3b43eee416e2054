#include "EnsembleFigure.h"

#include <algorithm>

#include "ColumnDecimation.h"
#include "Events.h"
#include "PanelShares.h"

namespace {
enum PanelIndex : std::size_t { kLeft, kRight, kDominance };

std::vector<PanelShape> EnsemblePanels() {
  return {{{"left eye<br>largest response", "left eye<br>response", "left eye"},
           kEnsemblePanelShares[kLeft]},
          {{"right eye<br>largest response", "right eye<br>response", "right eye"},
           kEnsemblePanelShares[kRight]},
          {DominanceGuides::Titles(), kEnsemblePanelShares[kDominance]}};
}

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

// A pale fill, so that where bands overlap both still show, and an edge in the group's colour,
// so that each band's reach reads even where the fills blend.
PlotPath* AddBand(Panel& panel, const ChartStyle& style, const QColor& colour) {
  return &panel.AddPath(style.Line(WithAlpha(colour, 150), 0.75), WithAlpha(colour, 30));
}

// Each line is narrower than the one drawn before it, so that lines lying on one another show as
// stripes of every group's colour rather than as the last one alone: an open eye's lines hardly
// differ whatever the closed eye sees. From 1.5 to at most 5 pixels wide at scale 1.
double LineWidth(std::size_t index, std::size_t groups) {
  const double narrowest = 1.5;
  if (groups < 2) return 2.0;
  const double step = std::min(1.25, 3.5 / static_cast<double>(groups - 1));
  return narrowest + step * static_cast<double>(groups - 1 - index);
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
  series.mean->SetLine(DecimateByColumn(count, at(0), from, to, columns));
  series.band->SetBand(upper, lower);
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
  const ChartStyle& style = figure_.Style();
  for (std::size_t i = 0; i < ensemble.groups.size(); ++i) {
    const QColor colour = ChartStyle::GroupColour(ensemble.groups[i].colour);
    groups_.push_back({{nullptr, AddBand(figure_.PanelAt(kLeft), style, colour)},
                       {nullptr, AddBand(figure_.PanelAt(kRight), style, colour)},
                       {nullptr, AddBand(figure_.PanelAt(kDominance), style, colour)}});
  }
  for (std::size_t i = 0; i < ensemble.groups.size(); ++i) AddGroup(ensemble.groups[i], i);
}

void EnsembleFigure::AddGroup(const EnsembleGroup& group, std::size_t index) {
  const QPen pen =
      figure_.Style().Line(ChartStyle::GroupColour(group.colour), LineWidth(index, groups_.size()));
  GroupSeries& series = groups_[index];
  series.left.mean = &figure_.PanelAt(kLeft).AddPath(pen);
  series.right.mean = &figure_.PanelAt(kRight).AddPath(pen);
  series.dominance.mean = &figure_.PanelAt(kDominance).AddPath(pen);
  key_.push_back({QString::fromStdString(group.label), pen});
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
  // One scale for both eyes, so that the gain of one reads against the loss of the other.
  figure_.PanelAt(kLeft).SetValues(ValueScale(responses));
  figure_.PanelAt(kRight).SetValues(ValueScale(responses));
  guides_.Show(axis);
  figure_.ShowSession(axis, ensemble.events, ensemble.caption, key_);
  guides_.Place();  // the key may have taken another height
  figure_.ShowLogged(std::any_of(ensemble.groups.begin(), ensemble.groups.end(),
                                 [](const EnsembleGroup& group) { return !group.points.empty(); }));
}

Extent EnsembleFigure::ShowGroup(const EnsembleGroup& group, std::size_t index,
                                 const StepAxis& steps) const {
  const GroupSeries& series = groups_[index];
  // Columns of four pixels at scale 1, about as wide as the lines: finer detail would hardly show
  // under them, and would weigh an SVG file down with points.
  const int columns = std::max(1, static_cast<int>(figure_.Columns() / figure_.Style().Pixels(4)));
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
