#pragma once

#include "AxisTicks.h"

// Which of a course's steps a chart shows: all of them, the last so many (following the course as
// it grows), or a range zoomed and panned to by hand, which stays where it was put. Ranges are in
// steps; a course's steps run from the first to the last of its points and events.
class StepWindow {
 public:
  void ShowAll() { mode_ = Mode::kAll; }
  void ShowLast(double steps);
  // Zooms by factor (below 1 zooms in) about the step `at` of the way across the range shown
  // (0: its left edge, 1: its right).
  void Zoom(double factor, double at, const Extent& course);
  // Moves the range shown by `share` of its width, later for a positive share.
  void Pan(double share, const Extent& course);
  // The steps shown: inside the course, and never narrower than kNarrowest steps unless the
  // course is.
  Extent Range(const Extent& course) const;
  bool ShowsAll() const { return mode_ == Mode::kAll; }

  // Ten logged points at the default logging.
  static constexpr double kNarrowest = 1000.0;

 private:
  enum class Mode { kAll, kLast, kHeld };
  void Hold(double from, double to, const Extent& course);

  Mode mode_ = Mode::kAll;
  double last_ = 0.0;
  double from_ = 0.0, to_ = 0.0;
};
