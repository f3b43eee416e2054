#include "CourseWindow.h"

#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

#include "CourseChartView.h"
#include "CourseHistory.h"
#include "DisplayRefresh.h"

CourseWindow::CourseWindow(CourseHistory& history, std::function<SessionEvents()> events)
    : history_(history),
      events_(std::move(events)),
      window_(new QWidget),
      view_(new CourseChartView) {
  window_->setWindowTitle("BCM Orvel — Course");
  // The program ends with its main window, by a click or a signal: an open Course window would
  // keep it running.
  window_->setAttribute(Qt::WA_QuitOnClose, false);
  auto* layout = new QVBoxLayout(window_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  window_->resize(640, 480);
  timer_.setInterval(DisplayRefresh::kFrame);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Refresh(); });
  Draw(events_());
}

CourseWindow::~CourseWindow() {
  delete window_;
}

void CourseWindow::Show() {
  window_->show();
  window_->raise();
  timer_.start();
}

void CourseWindow::Refresh() {
  if (!window_->isVisible()) return;
  SessionEvents events = events_();
  const bool eventsChanged = events.closures.size() != closuresShown_ ||
                             events.resets.size() + events.loads.size() != resetsShown_;
  // Points bring their steps, and an open closure grows with them.
  if (!history_.TakeChanged() && !eventsChanged) return;
  Draw(std::move(events));
}

void CourseWindow::Draw(SessionEvents events) {
  closuresShown_ = events.closures.size();
  resetsShown_ = events.resets.size() + events.loads.size();
  const auto start = std::chrono::steady_clock::now();
  view_->Show(history_.WithEvents(std::move(events), "this session"));
  ++redraws_;
  shownPoints_ = history_.Points().size();
  // Drawing the chart takes milliseconds; the run gets at least 19 parts in 20 of the time.
  const auto took = std::chrono::steady_clock::now() - start;
  timer_.setInterval(std::max(std::chrono::milliseconds(DisplayRefresh::kFrame),
                              std::chrono::ceil<std::chrono::milliseconds>(took * 19)));
}
