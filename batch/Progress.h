#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

// A progress bar on standard error for a run of known length: steps done, steps per second and
// time left, shown once the run has taken a second and redrawn a few times a second.
class Progress {
 public:
  Progress(std::FILE* terminal, std::int64_t total);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Cheap enough to call on every step: the clock is read every few thousand steps.
  void Update(std::int64_t done) {
    if ((done & kCheckMask) == 0) Draw(done);
  }

 private:
  static constexpr std::int64_t kCheckMask = (1 << 14) - 1;

  void Draw(std::int64_t done);

  std::FILE* terminal_;
  std::int64_t total_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;
  bool shown_ = false;
};
