#pragma once

#include <cstddef>
#include <vector>

#include "Bcm.h"

// The mean weight of each eye's half of the inputs, as course.csv logs it and a check reports it.
struct EyeMeanWeights {
  double left = 0.0;
  double right = 0.0;
};

inline EyeMeanWeights MeanWeightsOf(const BCMNeuron& neuron) {
  const std::vector<double>& weights = neuron.Weights();
  const std::size_t half = weights.size() / 2;
  const auto mean = [&](std::size_t first) {
    double sum = 0.0;
    for (std::size_t i = first; i < first + half; ++i) sum += weights[i];
    return sum / static_cast<double>(half);
  };
  return {mean(0), mean(half)};
}
