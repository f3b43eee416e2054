#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "CRand.h"

// What one eye sees: noise, or noise with a bump of activity centred on one of its inputs.
// Every sample consumes exactly one number of the generator it is handed, in a fixed order and
// whatever the amplitude, so the whole random stream depends only on these draw counts.
// The functions are templates over the generator (runtime::CRand, runtime::Pcg32, or a
// runtime::Random that picks one per call) and inline: drawing the input is most of a training
// step, so each kind gets code of its own.

// r / 32767.0 for every number r the generator returns, the compiler's correctly rounded quotient:
// a load instead of a division, which would be the slowest instruction of a sample.
extern const std::array<double, runtime::kRandMax + 1> kDrawFractions;

// r / 32767 for one draw r; both 0.0 and 1.0 are reachable.
template <class Generator>
double UniformRandom(Generator& generator) {
  return kDrawFractions[static_cast<std::size_t>(generator.rand())];
}

// The noise sample of draw r: uniform over 32768 evenly spaced values in [-amplitude, amplitude].
inline double NoiseOfDraw(int r, double amplitude) {
  return kDrawFractions[static_cast<std::size_t>(r)] * 2.0 * amplitude - amplitude;
}

template <class Generator>
double NoiseSample(Generator& generator, double amplitude) {
  return NoiseOfDraw(generator.rand(), amplitude);
}

// Writes row.size() noise samples over row, in position order.
template <class Generator>
void FillNoise(std::span<double> row, Generator& generator, double amplitude) {
  generator.DrawMany(
      row.size(), [row, amplitude](std::size_t i, int r) { row[i] = NoiseOfDraw(r, amplitude); });
}

[[noreturn]] void ThrowCentreOutside(int centre, std::ptrdiff_t n);

// Noise with a bump of 1.0 at centre, 0.7 beside it and 0.3 two away, cut off at the row's ends,
// written over row. Each bump value carries a fresh sample; the noise drawn first at those
// positions is discarded. Throws std::out_of_range, before drawing anything, unless
// 0 <= centre < row.size().
template <class Generator>
void FillPattern(std::span<double> row, int centre, Generator& generator, double amplitude) {
  const auto n = static_cast<std::ptrdiff_t>(row.size());
  if (centre < 0 || centre >= n) ThrowCentreOutside(centre, n);
  FillNoise(row, generator, amplitude);
  double* const at = row.data() + centre;
  // The draw order (centre, c-1, c+1, c-2, c+2) is part of the random stream's contract.
  at[0] = 1.0 + NoiseSample(generator, amplitude);
  if (centre >= 1) at[-1] = 0.7 + NoiseSample(generator, amplitude);
  if (centre < n - 1) at[1] = 0.7 + NoiseSample(generator, amplitude);
  if (centre >= 2) at[-2] = 0.3 + NoiseSample(generator, amplitude);
  if (centre < n - 2) at[2] = 0.3 + NoiseSample(generator, amplitude);
}

// n noise samples in position order; empty, drawing nothing, for n <= 0.
template <class Generator>
std::vector<double> MakeNoise(int n, Generator& generator, double amplitude) {
  std::vector<double> noise(static_cast<std::size_t>(std::max(n, 0)));
  FillNoise(noise, generator, amplitude);
  return noise;
}

// FillPattern over a new row of n.
template <class Generator>
std::vector<double> MakePattern(int n, int centre, Generator& generator, double amplitude) {
  // Checked here too: a negative n must throw, not size the row.
  if (centre < 0 || centre >= n) ThrowCentreOutside(centre, n);
  std::vector<double> pattern(static_cast<std::size_t>(n));
  FillPattern(pattern, centre, generator, amplitude);
  return pattern;
}

// left's elements, then right's.
std::vector<double> Join(std::vector<double> left, std::vector<double> right);
