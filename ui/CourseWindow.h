#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "Course.h"

class CourseChartView;
class CourseHistory;

class QComboBox;

// View → Course: the session's course chart, live. It is redrawn at display rate when rows came
// or the eyes changed, never once a row, and less often when a redraw takes long, so that it
// costs a run little. A choice above the chart shows all the steps or only the last ones; the
// chart itself zooms and pans.
class CourseWindow {
 public:
  // caption: what the course came from, as the figures name it.
  CourseWindow(CourseHistory& history, std::function<SessionEvents()> events,
               std::function<std::string()> caption);
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
  CourseChartView& Chart() const { return *view_; }
  // Shows the last this many steps, 0 for all, as the choice above the chart does.
  void ShowLast(int steps);

 private:
  void Draw(SessionEvents events);
  QWidget* MakeChoice();

  CourseHistory& history_;
  std::function<SessionEvents()> events_;
  std::function<std::string()> caption_;
  QWidget* window_;
  CourseChartView* view_;
  QComboBox* shown_ = nullptr;
  QTimer timer_;
  std::size_t closuresShown_ = 0, resetsShown_ = 0;
  int redraws_ = 0;
  std::size_t shownPoints_ = 0;
};
