#pragma once

#include <vector>

#include "CRand.h"
#include "Stimuli.h"

// The input a training step presents with both eyes open, drawn in the run's order with the
// default constants: the uniform draw, the centre on pattern steps, the left eye, the right eye.
inline std::vector<double> NextTrainingInput(runtime::CRand& generator) {
  if (UniformRandom(generator) >= 0.2) {
    std::vector<double> left = MakeNoise(12, generator, 0.05);
    return Join(std::move(left), MakeNoise(12, generator, 0.05));
  }
  const int centre = generator.rand() % 12;
  std::vector<double> left = MakePattern(12, centre, generator, 0.05);
  return Join(std::move(left), MakePattern(12, centre, generator, 0.05));
}
