#include "CourseFigure.h"

#include <QLineSeries>
#include <algorithm>

#include "ColumnDecimation.h"
#include "Events.h"
#include "PanelShares.h"

namespace {
enum PanelIndex : std::size_t { kResponses, kThreshold, kDominance };

std::vector<PanelShape> CoursePanels() {
  return {{{"largest response", "largest<br>response", "response"}, kCoursePanelShares[kResponses]},
          {{"threshold \u03b8", "threshold<br>\u03b8", "\u03b8"}, kCoursePanelShares[kThreshold]},
          {DominanceGuides::Titles(), kCoursePanelShares[kDominance]}};
}

// Points come in step order, so the first and last bound them.
Extent StepsOf(const Course& course) {
  Extent steps;
  if (!course.points.empty()) {
    steps.Include(static_cast<double>(course.points.front().totalSteps));
    steps.Include(static_cast<double>(course.points.back().totalSteps));
  }
  IncludeEvents(steps, course.events);
  return steps;
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
std::vector<PlotPoint> Thinned(const Course& course, Value value, const StepAxis& steps,
                               int columns) {
  return DecimateByColumn(
      course.points.size(),
      [&](std::size_t i) {
        const CoursePoint& point = course.points[i];
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

CourseFigure::CourseFigure(double scale)
    : figure_(CoursePanels(), scale),
      guides_(figure_, kDominance),
      left_(AddLine(kResponses, ChartStyle::EyeColour(Eye::Left))),
      right_(AddLine(kResponses, ChartStyle::EyeColour(Eye::Right))),
      theta_(AddLine(kThreshold, ChartStyle::Threshold())),
      dominance_(AddLine(kDominance, ChartStyle::Dominance())),
      key_{{"left eye", figure_.Style().Line(ChartStyle::EyeColour(Eye::Left), 3)},
           {"right eye", figure_.Style().Line(ChartStyle::EyeColour(Eye::Right), 3)}} {}

QLineSeries* CourseFigure::AddLine(std::size_t panel, const QColor& colour) {
  return figure_.PanelAt(panel).AddLine(figure_.Style().Line(colour));
}

void CourseFigure::Resize(QSizeF size) {
  figure_.Resize(size);
  guides_.Place();
}

void CourseFigure::Show(const Course& course) {
  const StepAxis axis = StepAxisFor(StepsOf(course));
  const int columns = figure_.Columns();
  const auto left = Thinned(course, MaxLeft, axis, columns);
  const auto right = Thinned(course, MaxRight, axis, columns);
  const auto theta = Thinned(course, Theta, axis, columns);
  ShowLine(*left_, left);
  ShowLine(*right_, right);
  ShowLine(*theta_, theta);
  ShowLine(*dominance_, Thinned(course, Dominance, axis, columns));
  Extent responses = ValuesOf(left);
  responses.Include(ValuesOf(right));
  figure_.PanelAt(kResponses).SetValues(ValueScale(responses));
  figure_.PanelAt(kThreshold).SetValues(ValueScale(ValuesOf(theta)));
  guides_.Show(axis);
  figure_.ShowSession(axis, course.events, course.caption, key_);
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
