#pragma once

#include <cstddef>
#include <vector>

#include "Course.h"
#include "RunLogs.h"

// The session's course as the chart shows it, gathered from the logged rows. A session of days
// logs billions of rows, so the history keeps at most `capacity` points: when full it drops every
// other point and from then on keeps every other row, and so on, evenly thinned from the start.
class CourseHistory {
 public:
  explicit CourseHistory(std::size_t capacity = 20000) : capacity_(capacity) {}

  void Add(const RunLogs::CourseRow& row);
  const std::vector<CoursePoint>& Points() const { return course_.points; }
  // The points with the events and caption last given, for the chart.
  const Course& WithEvents(SessionEvents events, std::string caption);
  // Whether a point came since the last call.
  bool TakeChanged();

 private:
  std::size_t capacity_;
  Course course_;
  std::size_t keepEvery_ = 1;
  std::size_t rows_ = 0;
  bool changed_ = false;
};
