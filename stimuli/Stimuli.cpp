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

std::vector<double> MakeNoise(int n) {
  if (n <= 0) return {};
  std::vector<double> noise(static_cast<std::size_t>(n));
  for (double& sample : noise) sample = NoiseSample();
  return noise;
}

std::vector<double> MakePattern(int n, int centre) {
  if (centre < 0 || centre >= n) {
    throw std::out_of_range("MakePattern: centre " + std::to_string(centre) + " outside a row of " +
                            std::to_string(n));
  }
  std::vector<double> v = MakeNoise(n);
  auto at = [&v](int position) -> double& { return v[static_cast<std::size_t>(position)]; };
  // The draw order (centre, c-1, c+1, c-2, c+2) is part of the random stream's contract.
  at(centre) = 1.0 + NoiseSample();
  if (centre >= 1) at(centre - 1) = 0.7 + NoiseSample();
  if (centre < n - 1) at(centre + 1) = 0.7 + NoiseSample();
  if (centre >= 2) at(centre - 2) = 0.3 + NoiseSample();
  if (centre < n - 2) at(centre + 2) = 0.3 + NoiseSample();
  return v;
}

std::vector<double> Join(std::vector<double> left, std::vector<double> right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}
