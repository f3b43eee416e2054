#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "Course.h"

class CourseChartView;
class CourseHistory;

// View → Course: the session's course chart, live. It is redrawn at display rate when rows came
// or the eyes changed, never once a row, and less often when a redraw takes long, so that it
// costs a run little.
class CourseWindow {
 public:
  CourseWindow(CourseHistory& history, std::function<SessionEvents()> events);
  ~CourseWindow();
  CourseWindow(const CourseWindow&) = delete;
  CourseWindow& operator=(const CourseWindow&) = delete;

  void Show();
  QWidget* NativeWidget() const { return window_; }
  // Redraws made so far, and the points the latest showed, for tests of the refresh.
  int Redraws() const { return redraws_; }
  std::size_t ShownPoints() const { return shownPoints_; }
  // Redraws at once if anything changed. A run that ends calls it: the throttle that spares a
  // run has no reason to keep the chart behind once none goes on.
  void Refresh();

 private:
  void Draw(SessionEvents events);

  CourseHistory& history_;
  std::function<SessionEvents()> events_;
  QWidget* window_;
  CourseChartView* view_;
  QTimer timer_;
  std::size_t closuresShown_ = 0, resetsShown_ = 0;
  int redraws_ = 0;
  std::size_t shownPoints_ = 0;
};
