#pragma once

#include <vector>

#include "CRand.h"

// What one eye sees: noise, or noise with a bump of activity centred on one of its inputs.
// Every sample consumes exactly one number of the generator it is handed, in a fixed order and
// whatever the amplitude, so the whole random stream depends only on these draw counts.

// r / 32767 for one draw r; both 0.0 and 1.0 are reachable.
double UniformRandom(runtime::CRand& generator);

// Uniform over 32768 evenly spaced values in [-amplitude, amplitude].
double NoiseSample(runtime::CRand& generator, double amplitude);

// n noise samples in position order; empty, drawing nothing, for n <= 0.
std::vector<double> MakeNoise(int n, runtime::CRand& generator, double amplitude);

// Noise with a bump of 1.0 at centre, 0.7 beside it and 0.3 two away, cut off at the row's ends.
// Each bump value carries a fresh sample; the noise drawn first at those positions is discarded.
// Throws std::out_of_range, before drawing anything, unless 0 <= centre < n.
std::vector<double> MakePattern(int n, int centre, runtime::CRand& generator, double amplitude);

// The same rows appended to the end of row, so that a run can build both eyes in one vector with
// one allocation; the draws are exactly those of MakeNoise and MakePattern.
void AppendNoise(std::vector<double>& row, int n, runtime::CRand& generator, double amplitude);
void AppendPattern(std::vector<double>& row, int n, int centre, runtime::CRand& generator,
                   double amplitude);

// left's elements, then right's.
std::vector<double> Join(std::vector<double> left, std::vector<double> right);
