#include "CourseChartView.h"

#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "CourseFigure.h"

namespace {
// One notch of the wheel shows four fifths of the steps.
constexpr double kZoomPerNotch = 0.8;
constexpr double kDegreesPerNotch = 120.0;

QString Steps(double steps) {
  return QLocale(QLocale::English).toString(std::llround(steps));
}
}  // namespace

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
  course_ = course;
  Redraw();
}

void CourseChartView::ShowAll() {
  window_.ShowAll();
  Redraw();
}

void CourseChartView::ShowLast(double steps) {
  window_.ShowLast(steps);
  Redraw();
}

Extent CourseChartView::ShownSteps() const {
  return figure_->ShownSteps();
}

void CourseChartView::Redraw() {
  figure_->Show(course_, window_);
}

void CourseChartView::Zoomed() {
  Redraw();
  if (OnZoom) OnZoom();
}

double CourseChartView::ShareAcross(double x) const {
  const ::Box& plots = figure_->PlotArea();  // not QFrame::Box
  return plots.width > 0 ? (x - plots.left) / plots.width : 0.0;
}

void CourseChartView::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  figure_->Resize(event->size());
}

void CourseChartView::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / kDegreesPerNotch;
  if (notches == 0) return;
  const double at = std::clamp(ShareAcross(event->position().x()), 0.0, 1.0);
  window_.Zoom(std::pow(kZoomPerNotch, notches), at, CourseSteps(course_));
  event->accept();
  Zoomed();
}

void CourseChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragFrom_ = event->position().x();
}

// The course follows the pointer: dragging to the right shows earlier steps.
void CourseChartView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragFrom_) return;
  const double x = event->position().x();
  window_.Pan(ShareAcross(*dragFrom_) - ShareAcross(x), CourseSteps(course_));
  dragFrom_ = x;
  Zoomed();
}

void CourseChartView::mouseReleaseEvent(QMouseEvent*) {
  dragFrom_.reset();
}

void CourseChartView::mouseDoubleClickEvent(QMouseEvent*) {
  window_.ShowAll();
  Zoomed();
}

bool CourseChartView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QGraphicsView::viewportEvent(event);
  const Extent shown = ShownSteps();
  QToolTip::showText(
      static_cast<QHelpEvent*>(event)->globalPos(),
      "The session's course, a point for every logged step. Top: the largest response of each "
      "eye over the 12 pattern positions, blue the left eye, red the right (drawn narrower over "
      "the blue). Middle: the threshold \u03b8, in units of the response squared. Bottom: "
      "ocular dominance (R\u2212L)/(R+L), from \u22121 (the left eye alone) to +1 (the right eye "
      "alone). Shaded: an eye closed.\n\nShowing steps " +
          Steps(shown.low) + " to " + Steps(shown.high) +
          ". The wheel zooms about the pointer, a drag pans, a double-click shows every step.",
      viewport());
  return true;
}
