#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "CourseRow.h"

// The numbers of logged steps that wait for the log writer: copied on the step thread, turned
// into text on the writer's. Cleared, never freed, so that a steady run allocates nothing.
struct LogBatch {
  // The weight line and summary line of one logged step, to the files of its ticked eyes.
  struct Step {
    std::uint8_t weightsFile, summaryFile;  // RunLogs::File
    bool bothEyes;
    std::int64_t step;
    std::array<double, 4> summary;
    std::size_t weightCount;  // its weights follow the previous step's in weights
  };

  std::vector<Step> steps;
  std::vector<double> weights;
  std::vector<std::array<double, 2>> probes;
  std::vector<CourseRow> course;

  bool Empty() const { return steps.empty() && probes.empty() && course.empty(); }
  // The lines of the fullest file.
  std::size_t Lines() const { return std::max({steps.size(), probes.size(), course.size()}); }
  void Clear() {
    steps.clear();
    weights.clear();
    probes.clear();
    course.clear();
  }
};
