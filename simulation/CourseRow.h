#pragma once

#include <cstdint>

// One row of the course record: the numbers of one logged step.
struct CourseRow {
  int run;
  std::int64_t step;           // within the run
  std::uint64_t trainedSteps;  // of the whole session, this step included
  bool leftTicked, rightTicked;
  double maxLeft, maxRight;        // the probe's, as in log.txt
  double theta, y, yLeft, yRight;  // the step's; yLeft as it is, never negated
  double meanLeftWeight, meanRightWeight;
};
