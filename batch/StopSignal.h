#pragma once

#include <atomic>

#include "Interrupts.h"

// Why a session must end early: SIGINT or SIGTERM to the process, or a driver's own interruption
// (the Python module's Ctrl-C) raised to end it as that signal would.
class StopSignal {
 public:
  void Raise(int signal) { raised_ = signal; }
  // 0 until either comes, then the signal's number.
  int Signal() const {
    const int signal = runtime::TerminationSignal();
    return signal != 0 ? signal : raised_.load();
  }

 private:
  std::atomic<int> raised_ = 0;
};
