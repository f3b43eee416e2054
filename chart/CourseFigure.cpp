#include "CourseFigure.h"

#include <QLineSeries>
#include <algorithm>

#include "ColumnDecimation.h"
#include "Events.h"
#include "PanelShares.h"

namespace {
enum PanelIndex : std::size_t { kResponses, kThreshold, kDominance };

// The eyes' responses often run together: the right eye's line is drawn narrower over the left
// eye's, so that both stay in sight.
constexpr double kWideLine = 3.5;
constexpr double kNarrowLine = 1.5;

std::vector<PanelShape> CoursePanels() {
  return {{{"largest response", "largest<br>response", "response"}, kCoursePanelShares[kResponses]},
          {{"threshold \u03b8", "threshold<br>\u03b8", "\u03b8"}, kCoursePanelShares[kThreshold]},
          {DominanceGuides::Titles(), kCoursePanelShares[kDominance]}};
}

// The points drawn over steps: those inside, and the one beyond each edge, so that the line runs
// on to the frame. Points come in step order.
struct PointSpan {
  std::size_t first = 0, end = 0;
};

PointSpan PointsOver(const Course& course, const Extent& steps) {
  const auto& points = course.points;
  const auto before = std::partition_point(points.begin(), points.end(), [&](const CoursePoint& p) {
    return static_cast<double>(p.totalSteps) < steps.low;
  });
  const auto after = std::partition_point(before, points.end(), [&](const CoursePoint& p) {
    return static_cast<double>(p.totalSteps) <= steps.high;
  });
  const auto first = static_cast<std::size_t>(before - points.begin());
  const auto end = static_cast<std::size_t>(after - points.begin());
  return {first > 0 ? first - 1 : 0, std::min(end + 1, points.size())};
}

double MaxLeft(const CoursePoint& point) {
  return DrawnResponse(point.maxLeft);
}
double MaxRight(const CoursePoint& point) {
  return DrawnResponse(point.maxRight);
}
double Theta(const CoursePoint& point) {
  return point.theta;
}
// Dominance lies within -1..1 by its definition; a value beyond is drawn at the edge.
double Dominance(const CoursePoint& point) {
  return std::clamp(point.odi, -1.0, 1.0);
}

template <class Value>
std::vector<PlotPoint> Thinned(const Course& course, PointSpan span, Value value,
                               const StepAxis& steps, int columns) {
  return DecimateByColumn(
      span.end - span.first,
      [&](std::size_t i) {
        const CoursePoint& point = course.points[span.first + i];
        return PlotPoint{steps.ToUnits(point.totalSteps), value(point)};
      },
      steps.scale.low, steps.scale.high, columns);
}

Extent ValuesOf(const std::vector<PlotPoint>& points) {
  Extent extent;
  for (const PlotPoint& point : points) extent.Include(point.y);
  return extent;
}
}  // namespace

Extent CourseSteps(const Course& course) {
  Extent steps;
  steps.Include(0.0);
  if (!course.points.empty()) {
    steps.Include(static_cast<double>(course.points.front().totalSteps));
    steps.Include(static_cast<double>(course.points.back().totalSteps));
  }
  IncludeEvents(steps, course.events);
  return steps;
}

CourseFigure::CourseFigure(double scale)
    : figure_(CoursePanels(), scale),
      guides_(figure_, kDominance),
      left_(AddLine(kResponses, ChartStyle::EyeColour(Eye::Left), kWideLine)),
      right_(AddLine(kResponses, ChartStyle::EyeColour(Eye::Right), kNarrowLine)),
      theta_(AddLine(kThreshold, ChartStyle::Threshold())),
      dominance_(AddLine(kDominance, ChartStyle::Dominance())),
      key_{{"left eye", figure_.Style().Line(ChartStyle::EyeColour(Eye::Left), kWideLine)},
           {"right eye", figure_.Style().Line(ChartStyle::EyeColour(Eye::Right), kNarrowLine)}} {}

QLineSeries* CourseFigure::AddLine(std::size_t panel, const QColor& colour, double width) {
  return figure_.PanelAt(panel).AddLine(figure_.Style().Line(colour, width));
}

void CourseFigure::Resize(QSizeF size) {
  figure_.Resize(size);
  guides_.Place();
}

void CourseFigure::Show(const Course& course, const StepWindow& window) {
  const Extent shown = window.Range(CourseSteps(course));
  const StepAxis axis = StepAxisOver(shown);
  shown_ = {axis.scale.low * axis.unit.stepsPerUnit, axis.scale.high * axis.unit.stepsPerUnit};
  const PointSpan span = PointsOver(course, shown);
  const int columns = figure_.Columns();
  const auto left = Thinned(course, span, MaxLeft, axis, columns);
  const auto right = Thinned(course, span, MaxRight, axis, columns);
  const auto theta = Thinned(course, span, Theta, axis, columns);
  ShowLine(*left_, left);
  ShowLine(*right_, right);
  ShowLine(*theta_, theta);
  ShowLine(*dominance_, Thinned(course, span, Dominance, axis, columns));
  Extent responses = ValuesOf(left);
  responses.Include(ValuesOf(right));
  figure_.PanelAt(kResponses).SetValues(ValueScale(responses));
  figure_.PanelAt(kThreshold).SetValues(ValueScale(ValuesOf(theta)));
  guides_.Show(axis);
  figure_.ShowSession(axis, EventsWithin(course.events, shown), course.caption, key_);
  guides_.Place();  // the key may have taken another height
  figure_.ShowLogged(!course.points.empty());
}

// A few points are marked as well, so that a short course does not pass for a smooth curve.
void CourseFigure::ShowLine(QLineSeries& line, const std::vector<PlotPoint>& points) const {
  line.replace(ToQt(points));
  const bool few = static_cast<int>(points.size()) * 12 < figure_.Columns();
  line.setPointsVisible(few);
  // Qt draws a marker twice as wide as its size, 12 pixels for 6: they hid the line between them.
  line.setMarkerSize(figure_.Style().Pixels(3));
}
