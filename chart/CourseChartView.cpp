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
