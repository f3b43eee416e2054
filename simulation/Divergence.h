#pragma once

#include <cstdint>
#include <string>

// A learning step that made the response or the threshold infinite or not a number. Nothing
// the neuron learns afterwards means anything, so the run stops there, unlogged.
struct Divergence {
  std::uint64_t step;    // of the session's training steps, counting from 1
  const char* quantity;  // "response" or "threshold"
  double value;
  bool operator==(const Divergence&) const = default;
};

// "inf", "-inf" or "nan": NaN's sign says nothing.
std::string DivergenceValueText(double value);
// "diverged at training step 1312: the threshold became inf"
std::string DivergenceText(const Divergence& divergence);
