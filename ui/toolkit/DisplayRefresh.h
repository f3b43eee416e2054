#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <vector>

// Repaints changed controls at display rate: a control marked many times within a frame is
// repainted once, so a run that writes a panel on every step is not slowed by painting.
class DisplayRefresh {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kFrame{16};

  // now: the clock whose frames pace the repaints; the timer only wakes the refresh to look.
  explicit DisplayRefresh(std::function<Clock::time_point()> now);
  void MarkChanged(QWidget* widget);

 private:
  std::chrono::milliseconds UntilNextFrame() const;
  void RepaintWhenDue();

  std::function<Clock::time_point()> now_;
  QTimer timer_;
  std::vector<QPointer<QWidget>> changed_;
  Clock::time_point lastRepaint_;
};

// Marks widget for the next display refresh of the running application.
void MarkChanged(QWidget* widget);
