#pragma once

#include <chrono>
#include <ctime>
#include <functional>

#include "Application.h"

// Where the window reads the time, so that a test can set it: the calendar second seeds a session
// started without --seed and names a new session's folder; the steady clock paces a limited
// speed, whose waits run events until the next step is due.
struct WindowClock {
  using Steady = std::chrono::steady_clock;

  std::function<std::time_t()> seconds = [] { return std::time(nullptr); };
  std::function<Steady::time_point()> now = [] { return Steady::now(); };
  std::function<void(Steady::time_point)> waitUntil = [](Steady::time_point deadline) {
    Application->WaitForMessagesUntil(deadline);
  };
};
