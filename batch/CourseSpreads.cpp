#include "CourseSpreads.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <string_view>

#include "LogNames.h"

namespace {
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// The course.csv columns the figure needs.
enum Column : std::size_t { kTrainedSteps = 2, kMaxLeft = 5, kMaxRight = 6, kDominance = 7 };
constexpr std::size_t kColumnsRead = kDominance + 1;

// The first kColumnsRead fields of a row, as numbers; an empty or garbled field is NaN.
std::array<double, kColumnsRead> NumbersOf(std::string_view line) {
  std::array<double, kColumnsRead> numbers;
  numbers.fill(kMissing);
  for (std::size_t column = 0; column < kColumnsRead; ++column) {
    const std::size_t comma = std::min(line.find(','), line.size());
    std::from_chars(line.data(), line.data() + comma, numbers[column]);
    if (comma == line.size()) break;
    line.remove_prefix(comma + 1);
  }
  return numbers;
}
}  // namespace

void CourseSpreads::Running::Add(double value) {
  if (std::isnan(value)) return;
  ++count;
  const double delta = value - mean;
  mean += delta / static_cast<double>(count);
  squares += delta * (value - mean);
}

Spread CourseSpreads::Running::Result() const {
  if (count == 0) return {kMissing, kMissing};
  // A lone value has no spread.
  return {mean, count > 1 ? std::sqrt(squares / static_cast<double>(count - 1)) : 0.0};
}

void CourseSpreads::AddUnit(const std::string& folder) {
  std::ifstream in(folder + "/" + kCourseName, std::ios::binary);
  std::string line;
  std::getline(in, line);  // its header
  std::size_t row = 0;
  for (; std::getline(in, line); ++row) {
    const auto numbers = NumbersOf(line);
    if (row == rows_.size()) {
      if (units_ > 0) break;  // longer than an earlier course: cut to the shortest anyway
      const double steps = numbers[kTrainedSteps];
      rows_.push_back({std::isnan(steps) ? 0 : static_cast<std::int64_t>(steps), {}, {}, {}});
    }
    rows_[row].left.Add(numbers[kMaxLeft]);
    rows_[row].right.Add(numbers[kMaxRight]);
    rows_[row].dominance.Add(numbers[kDominance]);
  }
  shortest_ = units_ == 0 ? row : std::min(shortest_, row);
  ++units_;
}

std::vector<EnsemblePoint> CourseSpreads::Points() const {
  std::vector<EnsemblePoint> points;
  points.reserve(shortest_);
  for (std::size_t row = 0; row < shortest_; ++row) {
    const Row& sums = rows_[row];
    points.push_back(
        {sums.totalSteps, sums.left.Result(), sums.right.Result(), sums.dominance.Result()});
  }
  return points;
}
