#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>

// The ensemble's progress bar: units done of this shard's, steps per second over all jobs, and
// time left; drawn by the main thread while the jobs play.
class EnsembleProgress {
 public:
  // units: this shard's; playing: those still to play, of totalSteps steps together.
  EnsembleProgress(std::FILE* terminal, std::size_t units, std::size_t playing,
                   std::int64_t totalSteps);
  ~EnsembleProgress();
  EnsembleProgress(const EnsembleProgress&) = delete;
  EnsembleProgress& operator=(const EnsembleProgress&) = delete;

  void Draw(std::size_t played, std::int64_t steps);

 private:
  std::FILE* terminal_;
  std::size_t done_;  // complete before this run
  std::size_t units_;
  std::int64_t totalSteps_;
  std::chrono::steady_clock::time_point start_;
  bool shown_ = false;
};
