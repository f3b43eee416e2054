#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

// Holds training to a number of steps a second: after each step it says until when to wait, if
// the run is ahead of its schedule by more than a millisecond. Waits are that coarse so that a
// fast rate costs a sleep a millisecond, not one a step.
class StepThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  // 0: no limit. The schedule starts at now.
  void SetRate(std::int64_t stepsPerSecond, Clock::time_point now);
  std::int64_t Rate() const { return rate_; }

  // One step is done; the time to wait until, or nothing.
  std::optional<Clock::time_point> StepDone(Clock::time_point now);

 private:
  void Restart(Clock::time_point now);

  std::int64_t rate_ = 0;
  std::int64_t steps_ = 0;
  Clock::time_point start_;
};
