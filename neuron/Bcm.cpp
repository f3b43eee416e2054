#include "Bcm.h"

#include <stdexcept>
#include <string>

#include "CRand.h"

namespace {
int CheckedInputCount(int n) {
  if (n < 0) throw std::invalid_argument("a neuron needs n >= 0 inputs, not " + std::to_string(n));
  return n;
}
}  // namespace

BCMNeuron::BCMNeuron(int n, double rate, double scale, int window)
    : history(window), tau(window), learningRate(rate), theta0(scale) {
  weights.reserve(static_cast<std::size_t>(CheckedInputCount(n)));
  for (int i = 0; i < n; ++i) weights.push_back(runtime::rand() * 0.15 / 32767);
}

double BCMNeuron::Output(std::vector<double> input, bool learn) {
  CheckLength(input);
  const std::size_t n = weights.size();
  double y = 0.0;
  for (std::size_t i = 0; i < n; ++i) y += weights[i] * input[i];
  // The halves are summed apart from y, so yLeft + yRight may differ from y in the last bit.
  yLeft = 0.0;
  yRight = 0.0;
  const std::size_t h = n / 2;
  for (std::size_t i = 0; i < h; ++i) {
    yLeft += weights[i] * input[i];
    yRight += weights[h + i] * input[h + i];
  }
  if (learn) Learn(input, y);
  return y;
}

double BCMNeuron::Threshold() const {
  return theta0 * history.WeightedMeanSquare();
}

void BCMNeuron::CheckLength(const std::vector<double>& input) const {
  if (input.size() != weights.size()) {
    throw std::invalid_argument("input of length " + std::to_string(input.size()) +
                                " for a neuron of " + std::to_string(weights.size()) + " weights");
  }
}

void BCMNeuron::Learn(const std::vector<double>& input, double y) {
  history.Append(y);
  theta = Threshold();
  const double factor = Phi(y, theta) * learningRate;
  for (std::size_t i = 0; i < weights.size(); ++i) weights[i] += input[i] * factor;
}
