#include "CourseSpreads.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
}  // namespace

void CourseSpreads::Running::Add(double value) {
  if (!std::isfinite(value)) return;
  ++count;
  const double delta = value - mean;
  mean += delta / static_cast<double>(count);
  squares += delta * (value - mean);
}

Spread CourseSpreads::Running::Result() const {
  if (count == 0) return {kMissing, kMissing, 0};
  // A lone value has no spread.
  return {mean, count > 1 ? std::sqrt(squares / static_cast<double>(count - 1)) : 0.0, count};
}

void CourseSpreads::Add(const std::vector<CourseRow>& course) {
  // Longer than an earlier course: cut to the shortest anyway.
  const std::size_t length = units_ == 0 ? course.size() : std::min(course.size(), rows_.size());
  if (units_ == 0) {
    for (const CourseRow& row : course) {
      rows_.push_back({static_cast<std::int64_t>(row.trainedSteps), {}, {}, {}, {}, {}, {}});
    }
  }
  for (std::size_t row = 0; row < length; ++row) {
    const CourseRow& values = course[row];
    // An eye without a response has no value to average: its -100 would drag the mean down.
    rows_[row].left.Add(DrawnResponse(values.maxLeft));
    rows_[row].right.Add(DrawnResponse(values.maxRight));
    rows_[row].dominance.Add(OcularDominance(values.maxLeft, values.maxRight));
    rows_[row].theta.Add(values.theta);
    rows_[row].meanWeightLeft.Add(values.meanLeftWeight);
    rows_[row].meanWeightRight.Add(values.meanRightWeight);
  }
  shortest_ = units_ == 0 ? length : std::min(shortest_, length);
  ++units_;
}

std::vector<EnsemblePoint> CourseSpreads::Points() const {
  std::vector<EnsemblePoint> points;
  points.reserve(shortest_);
  for (std::size_t row = 0; row < shortest_; ++row) {
    const Row& sums = rows_[row];
    points.push_back({sums.totalSteps, sums.left.Result(), sums.right.Result(),
                      sums.dominance.Result(), sums.theta.Result(), sums.meanWeightLeft.Result(),
                      sums.meanWeightRight.Result()});
  }
  return points;
}
