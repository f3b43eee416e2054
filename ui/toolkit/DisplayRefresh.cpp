#include "DisplayRefresh.h"

#include <algorithm>

#include "Application.h"

DisplayRefresh::DisplayRefresh(std::function<Clock::time_point()> now) : now_(std::move(now)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { RepaintWhenDue(); });
}

void DisplayRefresh::MarkChanged(QWidget* widget) {
  if (std::find(changed_.begin(), changed_.end(), widget) == changed_.end()) {
    changed_.emplace_back(widget);
  }
  if (!timer_.isActive()) timer_.start(UntilNextFrame());
}

// Rounded up: a timer that fires a fraction early only looks again.
std::chrono::milliseconds DisplayRefresh::UntilNextFrame() const {
  const auto wait = std::max(Clock::duration::zero(), kFrame - (now_() - lastRepaint_));
  return std::chrono::ceil<std::chrono::milliseconds>(wait);
}

void DisplayRefresh::RepaintWhenDue() {
  if (const auto wait = UntilNextFrame(); wait > std::chrono::milliseconds::zero()) {
    timer_.start(wait);
    return;
  }
  lastRepaint_ = now_();
  for (const QPointer<QWidget>& widget : changed_) {
    if (widget) widget->update();
  }
  changed_.clear();
}

void MarkChanged(QWidget* widget) {
  if (Application != nullptr) {
    Application->Refresh().MarkChanged(widget);
  } else {
    widget->update();
  }
}
