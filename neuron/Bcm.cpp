#include "Bcm.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {
int CheckedInputCount(int n) {
  if (n < 0) throw std::invalid_argument("a neuron needs n >= 0 inputs, not " + std::to_string(n));
  return n;
}

bool Finite(double value) {
  return std::isfinite(value);
}
}  // namespace

BCMNeuron::BCMNeuron(int n, double rate, double scale, int window)
    : history(window), learningRate(rate), theta0(scale) {
  weights.reserve(static_cast<std::size_t>(CheckedInputCount(n)));
}

BCMNeuron::BCMNeuron(std::vector<double> initial, ResponseHistory recent, double rate, double scale)
    : weights(std::move(initial)), history(std::move(recent)), learningRate(rate), theta0(scale) {}

double BCMNeuron::Output(const std::vector<double>& input, bool learn) {
  CheckLength(input);
  const std::size_t n = weights.size();
  const std::size_t h = n / 2;
  const double* const w = weights.data();
  const double* const x = input.data();
  // Each product is formed once and added to y, in input order, and to its eye's own sum. The
  // halves are summed apart from y, so yLeft + yRight may differ from y in the last bit.
  double y = 0.0, left = 0.0, right = 0.0;
  for (std::size_t i = 0; i < h; ++i) {
    const double product = w[i] * x[i];
    y += product;
    left += product;
  }
  for (std::size_t i = h; i < 2 * h; ++i) {
    const double product = w[i] * x[i];
    y += product;
    right += product;
  }
  for (std::size_t i = 2 * h; i < n; ++i) y += w[i] * x[i];
  yLeft = left;
  yRight = right;
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
  double* const w = weights.data();
  const double* const x = input.data();
  for (std::size_t i = 0, n = weights.size(); i < n; ++i) w[i] += x[i] * factor;
}

BCMNeuron::Saved BCMNeuron::Save() const {
  return {weights, history.Save(), theta, yLeft, yRight};
}

BCMNeuron BCMNeuron::Restore(const Saved& saved, double rate, double scale, int window) {
  if (!std::all_of(saved.weights.begin(), saved.weights.end(), Finite) || !Finite(saved.theta) ||
      !Finite(saved.yLeft) || !Finite(saved.yRight)) {
    throw std::invalid_argument("a weight, theta or a partial response is not finite");
  }
  BCMNeuron restored(saved.weights, ResponseHistory::Restore(window, saved.history), rate, scale);
  restored.theta = saved.theta;
  restored.yLeft = saved.yLeft;
  restored.yRight = saved.yRight;
  return restored;
}
