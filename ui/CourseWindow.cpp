#include "CourseWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <chrono>

#include "CourseChartView.h"
#include "CourseHistory.h"
#include "DisplayRefresh.h"

namespace {
// The steps the choice offers, 0 for all of them.
constexpr std::array<int, 4> kLastSteps = {0, 10000, 100000, 1000000};
}  // namespace

CourseWindow::CourseWindow(CourseHistory& history, std::function<SessionEvents()> events,
                           std::function<std::string()> caption)
    : history_(history),
      events_(std::move(events)),
      caption_(std::move(caption)),
      window_(new QWidget),
      view_(new CourseChartView) {
  window_->setWindowTitle("BCM Orvel — Course");
  // The program ends with its main window, by a click or a signal: an open Course window would
  // keep it running.
  window_->setAttribute(Qt::WA_QuitOnClose, false);
  auto* layout = new QVBoxLayout(window_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(MakeChoice());
  layout->addWidget(view_);
  window_->resize(640, 480);
  timer_.setInterval(DisplayRefresh::kFrame);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Refresh(); });
  Draw(events_());
}

QWidget* CourseWindow::MakeChoice() {
  auto* row = new QWidget;
  row->setAutoFillBackground(true);
  row->setPalette(QPalette(Qt::white));
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(8, 4, 8, 0);
  shown_ = new QComboBox;
  for (const char* text :
       {"all steps", "the last 10,000", "the last 100,000", "the last 1,000,000"})
    shown_->addItem(text);
  // A zoom by hand shows a range no item names.
  shown_->setPlaceholderText("as zoomed");
  shown_->setToolTip("Which steps the chart shows: all, or the last so many as the course grows.");
  QObject::connect(shown_, &QComboBox::activated,
                   [this](int index) { ShowLast(kLastSteps.at(static_cast<std::size_t>(index))); });
  view_->OnZoom = [this] { shown_->setCurrentIndex(view_->ShowsAll() ? 0 : -1); };
  auto* label = new QLabel("Show");
  label->setBuddy(shown_);
  auto* hint = new QLabel("wheel: zoom · drag: pan · double-click: all");
  hint->setStyleSheet("color: #696969");
  layout->addWidget(label);
  layout->addWidget(shown_);
  layout->addStretch();
  layout->addWidget(hint);
  return row;
}

void CourseWindow::ShowLast(int steps) {
  const auto item = std::find(kLastSteps.begin(), kLastSteps.end(), steps);
  shown_->setCurrentIndex(item == kLastSteps.end() ? -1
                                                   : static_cast<int>(item - kLastSteps.begin()));
  if (steps == 0) {
    view_->ShowAll();
  } else {
    view_->ShowLast(steps);
  }
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
  view_->Show(history_.WithEvents(std::move(events), caption_()));
  ++redraws_;
  shownPoints_ = history_.Points().size();
  // Drawing the chart takes milliseconds; the run gets at least 19 parts in 20 of the time.
  const auto took = std::chrono::steady_clock::now() - start;
  timer_.setInterval(std::max(std::chrono::milliseconds(DisplayRefresh::kFrame),
                              std::chrono::ceil<std::chrono::milliseconds>(took * 19)));
}
