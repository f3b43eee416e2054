#include "Stimuli.h"

#include <algorithm>
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

std::vector<double> MakeNoise(int n, runtime::CRand& generator, double amplitude) {
  std::vector<double> noise(static_cast<std::size_t>(std::max(n, 0)));
  FillNoise(noise, generator, amplitude);
  return noise;
}

std::vector<double> MakePattern(int n, int centre, runtime::CRand& generator, double amplitude) {
  // Checked here too: a negative n must throw, not size the row.
  if (centre < 0 || centre >= n) ThrowCentreOutside(centre, n);
  std::vector<double> pattern(static_cast<std::size_t>(n));
  FillPattern(pattern, centre, generator, amplitude);
  return pattern;
}

std::vector<double> Join(std::vector<double> left, std::vector<double> right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}
