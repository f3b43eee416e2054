#include "Stimuli.h"

#include <stdexcept>
#include <string>

namespace {
constexpr std::array<double, runtime::kRandMax + 1> DrawFractions() {
  std::array<double, runtime::kRandMax + 1> fractions{};
  for (std::size_t r = 0; r < fractions.size(); ++r) {
    fractions[r] = static_cast<double>(r) / 32767.0;
  }
  return fractions;
}
}  // namespace

// Initialised by the compiler from a constant expression, so no thread ever sees it half made.
const std::array<double, runtime::kRandMax + 1> kDrawFractions = DrawFractions();

void ThrowCentreOutside(int centre, std::ptrdiff_t n) {
  throw std::out_of_range("pattern centre " + std::to_string(centre) + " outside a row of " +
                          std::to_string(n));
}

std::vector<double> Join(std::vector<double> left, std::vector<double> right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}
