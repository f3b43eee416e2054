#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a call of onSignal on the event loop's thread, by watching the
// pipe the programs' one signal handler writes to: a signal handler itself may do almost nothing
// safely.
class TerminationSignals {
 public:
  explicit TerminationSignals(std::function<void()> onSignal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};
