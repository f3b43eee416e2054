#include "DisplayRefresh.h"

#include <algorithm>

#include "Application.h"

DisplayRefresh::DisplayRefresh() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { RepaintChanged(); });
}

void DisplayRefresh::MarkChanged(QWidget* widget) {
  if (std::find(changed_.begin(), changed_.end(), widget) == changed_.end()) {
    changed_.emplace_back(widget);
  }
  if (timer_.isActive()) return;
  const auto sinceLast = std::chrono::steady_clock::now() - lastRepaint_;
  const auto wait = std::max(std::chrono::steady_clock::duration::zero(), kFrame - sinceLast);
  timer_.start(std::chrono::duration_cast<std::chrono::milliseconds>(wait));
}

void DisplayRefresh::RepaintChanged() {
  lastRepaint_ = std::chrono::steady_clock::now();
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
