#pragma once

#include <QGraphicsView>
#include <memory>

#include "Course.h"

class CourseFigure;

// The course chart in a window, the same figure the files show. Show may be called at display
// rate while a run goes on: it only moves the series' points, thinned to the view's width.
class CourseChartView : public QGraphicsView {
 public:
  explicit CourseChartView(QWidget* parent = nullptr);
  ~CourseChartView() override;

  void Show(const Course& course);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::unique_ptr<CourseFigure> figure_;
};
