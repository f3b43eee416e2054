#pragma once

#include <vector>

#include "CRand.h"
#include "Stimuli.h"

// The input a training step presents with both eyes open, drawn in the run's order: the uniform
// draw, the centre on pattern steps, the left eye, the right eye.
inline std::vector<double> NextTrainingInput() {
  if (UniformRandom() >= 0.2) {
    std::vector<double> left = MakeNoise(12);
    return Join(std::move(left), MakeNoise(12));
  }
  const int centre = runtime::rand() % 12;
  std::vector<double> left = MakePattern(12, centre);
  return Join(std::move(left), MakePattern(12, centre));
}
