#include "CourseHistory.h"

#include "SessionCourse.h"

void CourseHistory::Add(const RunLogs::CourseRow& row) {
  std::vector<CoursePoint>& points = course_.points;
  if (rows_++ % keepEvery_ != 0) return;
  if (points.size() == capacity_) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points.size(); i += 2) points[kept++] = points[i];
    points.resize(kept);
    keepEvery_ *= 2;
    if ((rows_ - 1) % keepEvery_ != 0) return;
  }
  points.push_back(PointOf(row));
  changed_ = true;
}

const Course& CourseHistory::WithEvents(SessionEvents events, std::string caption) {
  course_.events = std::move(events);
  course_.caption = std::move(caption);
  return course_;
}

bool CourseHistory::TakeChanged() {
  const bool changed = changed_;
  changed_ = false;
  return changed;
}
