#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Course.h"
#include "CourseRow.h"

// The mean, standard deviation and count, row by row, of the courses of one group's units. The
// courses are added one at a time and folded into running sums, so that memory follows the rows of
// one course however many units there are.
class CourseSpreads {
 public:
  // Folds in a unit's course rows.
  void Add(const std::vector<CourseRow>& course);
  bool Empty() const { return units_ == 0; }
  // Row by row, as long as the shortest course; a value missing from every unit is NaN.
  std::vector<EnsemblePoint> Points() const;

 private:
  // Welford's running mean and sum of squared deviations; a value that is not finite (NaN stands
  // for a missing one) is left out.
  struct Running {
    std::size_t count = 0;
    double mean = 0.0, squares = 0.0;
    void Add(double value);
    Spread Result() const;
  };
  struct Row {
    std::int64_t totalSteps = 0;  // the first unit's
    Running left, right, dominance, theta, meanWeightLeft, meanWeightRight;
  };

  std::vector<Row> rows_;
  std::size_t shortest_ = 0;
  std::size_t units_ = 0;
};
