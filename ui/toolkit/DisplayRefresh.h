#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <vector>

// Repaints changed controls at display rate: a control marked many times within a frame is
// repainted once, so a run that writes a panel on every step is not slowed by painting.
class DisplayRefresh {
 public:
  static constexpr std::chrono::milliseconds kFrame{16};

  DisplayRefresh();
  void MarkChanged(QWidget* widget);

 private:
  void RepaintChanged();

  QTimer timer_;
  std::vector<QPointer<QWidget>> changed_;
  std::chrono::steady_clock::time_point lastRepaint_;
};

// Marks widget for the next display refresh of the running application.
void MarkChanged(QWidget* widget);
