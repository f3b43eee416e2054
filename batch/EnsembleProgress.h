#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Progress.h"

// The ensemble's progress bar: units done of this shard's, what their logs will take, steps per
// second over all jobs, and time left; drawn by the main thread while the jobs play.
class EnsembleProgress {
 public:
  // units: this shard's; playing: those still to play, of totalSteps steps and about logBytes
  // bytes of logs together.
  EnsembleProgress(std::FILE* terminal, std::size_t units, std::size_t playing,
                   std::int64_t totalSteps, std::uint64_t logBytes);

  void Draw(std::size_t played, std::int64_t steps);

 private:
  StatusLine line_;
  std::size_t done_;  // complete before this run
  std::size_t units_;
  std::int64_t totalSteps_;
  std::string logBytes_;
};
