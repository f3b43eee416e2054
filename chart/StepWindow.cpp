#include "StepWindow.h"

#include <algorithm>

namespace {
// A course without a step yet is taken as 0 to 1, as its axis shows it.
Extent Known(const Extent& course) {
  if (course.low <= course.high) return course;
  Extent empty;
  empty.Include(0.0);
  empty.Include(1.0);
  return empty;
}

// The range of this width nearest to starting at from, inside the course.
Extent Inside(double from, double width, const Extent& course) {
  width = std::min(width, course.high - course.low);
  from = std::clamp(from, course.low, course.high - width);
  Extent range;
  range.Include(from);
  range.Include(from + width);
  return range;
}
}  // namespace

void StepWindow::ShowLast(double steps) {
  mode_ = Mode::kLast;
  last_ = steps;
}

Extent StepWindow::Range(const Extent& course) const {
  const Extent known = Known(course);
  switch (mode_) {
    case Mode::kAll:
      return known;
    case Mode::kLast:
      return Inside(known.high - last_, last_, known);
    case Mode::kHeld:
      return Inside(from_, to_ - from_, known);
  }
  return known;
}

void StepWindow::Hold(double from, double to, const Extent& course) {
  const Extent known = Known(course);
  if (to - from >= known.high - known.low) {
    ShowAll();  // zoomed all the way out, the chart follows the course again
    return;
  }
  mode_ = Mode::kHeld;
  from_ = from;
  to_ = to;
}

void StepWindow::Zoom(double factor, double at, const Extent& course) {
  const Extent shown = Range(course);
  const double width = shown.high - shown.low;
  const double centre = shown.low + at * width;
  const double zoomed = std::max(width * factor, std::min(kNarrowest, width));
  const Extent range = Inside(centre - at * zoomed, zoomed, Known(course));
  Hold(range.low, range.high, course);
}

void StepWindow::Pan(double share, const Extent& course) {
  const Extent shown = Range(course);
  const double width = shown.high - shown.low;
  const Extent range = Inside(shown.low + share * width, width, Known(course));
  if (mode_ != Mode::kAll) Hold(range.low, range.high, course);
}
