#include "Stimuli.h"

#include <stdexcept>
#include <string>

#include "CRand.h"

double UniformRandom() {
  return runtime::rand() / 32767.0;
}

double NoiseSample() {
  return UniformRandom() * 2.0 * 0.05 - 0.05;
}

void AppendNoise(std::vector<double>& row, int n) {
  if (n <= 0) return;
  const std::size_t start = row.size();
  row.resize(start + static_cast<std::size_t>(n));
  for (std::size_t i = start; i < row.size(); ++i) row[i] = NoiseSample();
}

void AppendPattern(std::vector<double>& row, int n, int centre) {
  if (centre < 0 || centre >= n) {
    throw std::out_of_range("MakePattern: centre " + std::to_string(centre) + " outside a row of " +
                            std::to_string(n));
  }
  const std::size_t start = row.size();
  AppendNoise(row, n);
  auto at = [&row, start](int position) -> double& {
    return row[start + static_cast<std::size_t>(position)];
  };
  // The draw order (centre, c-1, c+1, c-2, c+2) is part of the random stream's contract.
  at(centre) = 1.0 + NoiseSample();
  if (centre >= 1) at(centre - 1) = 0.7 + NoiseSample();
  if (centre < n - 1) at(centre + 1) = 0.7 + NoiseSample();
  if (centre >= 2) at(centre - 2) = 0.3 + NoiseSample();
  if (centre < n - 2) at(centre + 2) = 0.3 + NoiseSample();
}

std::vector<double> MakeNoise(int n) {
  std::vector<double> noise;
  if (n > 0) noise.reserve(static_cast<std::size_t>(n));
  AppendNoise(noise, n);
  return noise;
}

std::vector<double> MakePattern(int n, int centre) {
  std::vector<double> pattern;
  if (n > 0) pattern.reserve(static_cast<std::size_t>(n));
  AppendPattern(pattern, n, centre);
  return pattern;
}

std::vector<double> Join(std::vector<double> left, std::vector<double> right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}
