#include "Stimuli.h"

#include <stdexcept>
#include <string>

double UniformRandom(runtime::CRand& generator) {
  return generator.rand() / 32767.0;
}

double NoiseSample(runtime::CRand& generator, double amplitude) {
  return UniformRandom(generator) * 2.0 * amplitude - amplitude;
}

void AppendNoise(std::vector<double>& row, int n, runtime::CRand& generator, double amplitude) {
  if (n <= 0) return;
  const std::size_t start = row.size();
  row.resize(start + static_cast<std::size_t>(n));
  // A local generator and a plain pointer keep the loop in registers: this is most of a step.
  runtime::CRand local = generator;
  double* samples = row.data() + start;
  for (int i = 0; i < n; ++i) samples[i] = NoiseSample(local, amplitude);
  generator = local;
}

void AppendPattern(std::vector<double>& row, int n, int centre, runtime::CRand& generator,
                   double amplitude) {
  if (centre < 0 || centre >= n) {
    throw std::out_of_range("pattern centre " + std::to_string(centre) + " outside a row of " +
                            std::to_string(n));
  }
  const std::size_t start = row.size();
  AppendNoise(row, n, generator, amplitude);
  auto at = [&row, start](int position) -> double& {
    return row[start + static_cast<std::size_t>(position)];
  };
  auto noise = [&generator, amplitude] { return NoiseSample(generator, amplitude); };
  // The draw order (centre, c-1, c+1, c-2, c+2) is part of the random stream's contract.
  at(centre) = 1.0 + noise();
  if (centre >= 1) at(centre - 1) = 0.7 + noise();
  if (centre < n - 1) at(centre + 1) = 0.7 + noise();
  if (centre >= 2) at(centre - 2) = 0.3 + noise();
  if (centre < n - 2) at(centre + 2) = 0.3 + noise();
}

std::vector<double> MakeNoise(int n, runtime::CRand& generator, double amplitude) {
  std::vector<double> noise;
  if (n > 0) noise.reserve(static_cast<std::size_t>(n));
  AppendNoise(noise, n, generator, amplitude);
  return noise;
}

std::vector<double> MakePattern(int n, int centre, runtime::CRand& generator, double amplitude) {
  std::vector<double> pattern;
  if (n > 0) pattern.reserve(static_cast<std::size_t>(n));
  AppendPattern(pattern, n, centre, generator, amplitude);
  return pattern;
}

std::vector<double> Join(std::vector<double> left, std::vector<double> right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}
