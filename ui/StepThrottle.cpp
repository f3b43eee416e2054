#include "StepThrottle.h"

namespace {
constexpr std::chrono::milliseconds kSmallestWait{1};
// Further behind than this (a pause, a busy machine) the schedule starts afresh instead of
// racing to catch up.
constexpr std::chrono::milliseconds kLargestLag{200};
}  // namespace

void StepThrottle::SetRate(std::int64_t stepsPerSecond, Clock::time_point now) {
  rate_ = stepsPerSecond;
  Restart(now);
}

void StepThrottle::Restart(Clock::time_point now) {
  steps_ = 0;
  start_ = now;
}

std::optional<StepThrottle::Clock::time_point> StepThrottle::StepDone(Clock::time_point now) {
  if (rate_ <= 0) return std::nullopt;
  ++steps_;
  const auto due =
      start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                   static_cast<double>(steps_) / static_cast<double>(rate_)));
  if (now - due > kLargestLag) Restart(now);
  if (due - now < kSmallestWait) return std::nullopt;
  return due;
}
