#include "CourseChartView.h"

#include <QResizeEvent>

#include "CourseFigure.h"

CourseChartView::CourseChartView(QWidget* parent)
    // A window's text keeps the desktop's size whatever the view's size, hence scale 1.
    : QGraphicsView(parent), figure_(std::make_unique<CourseFigure>(1.0)) {
  setScene(&figure_->Scene());
  setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::NoFrame);
  // Repainting only what Qt reports as changed left slivers of each earlier line behind as the
  // course grew; the whole view costs little at the rate it is redrawn.
  setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setMinimumSize(480, 360);
  setToolTip(
      "The session's course, a point for every logged step. Top: the largest response of each "
      "eye over the 12 pattern positions, blue the left eye, red the right. Middle: the "
      "threshold \u03b8, in units of the response squared. Bottom: ocular dominance "
      "(R\u2212L)/(R+L), from \u22121 (the left eye alone) to +1 (the right eye alone). Shaded: "
      "an eye closed.");
  figure_->Resize(size());
}

CourseChartView::~CourseChartView() = default;

void CourseChartView::Show(const Course& course) {
  figure_->Show(course);
}

void CourseChartView::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  figure_->Resize(event->size());
}
