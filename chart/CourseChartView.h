#pragma once

#include <QGraphicsView>
#include <functional>
#include <memory>
#include <optional>

#include "Course.h"
#include "StepWindow.h"

class CourseFigure;

// The course chart in a window, the same figure the files show. Show may be called at display
// rate while a run goes on: it only moves the series' points, thinned to the view's width.
// The wheel zooms the step axis about the pointer, a drag pans it, a double-click shows every
// step again.
class CourseChartView : public QGraphicsView {
 public:
  explicit CourseChartView(QWidget* parent = nullptr);
  ~CourseChartView() override;

  void Show(const Course& course);
  // All the steps, growing with the course.
  void ShowAll();
  // The last steps, following the course's end.
  void ShowLast(double steps);
  // The steps the axis spans now.
  Extent ShownSteps() const;
  bool ShowsAll() const { return window_.ShowsAll(); }
  // Runs when the wheel, a drag or a double-click changed the steps shown.
  std::function<void()> OnZoom;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  // The share of the plots' width at which x lies, 0 at their left edge.
  double ShareAcross(double x) const;
  void Redraw();
  void Zoomed();

  std::unique_ptr<CourseFigure> figure_;
  Course course_;
  StepWindow window_;
  std::optional<double> dragFrom_;  // where the drag last was
};
