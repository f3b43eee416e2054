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

BCMNeuron::BCMNeuron(int n, double rate, double scale, int window, LearningRule rule)
    : history(window), learningRate(rate), theta0(scale), rule_(rule) {
  weights.reserve(static_cast<std::size_t>(CheckedInputCount(n)));
}

BCMNeuron::BCMNeuron(std::vector<double> initial, ResponseHistory recent, double rate, double scale,
                     LearningRule rule)
    : weights(std::move(initial)),
      history(std::move(recent)),
      learningRate(rate),
      theta0(scale),
      rule_(rule) {}

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

// The rule is chosen once per step, outside the loop over the weights, so bcm's loop is the
// classic one. Every rule keeps the threshold, so the logs have the same columns whatever it is.
void BCMNeuron::Learn(const std::vector<double>& input, double y) {
  history.Append(y);
  theta = Threshold();
  switch (rule_) {
    case LearningRule::kBcm:
      return MoveAlongInput(input, Phi(y, theta) * learningRate);
    case LearningRule::kLawCooper:
      // Divided by a threshold of 0 the step would be infinite or NaN: that step learns nothing.
      if (theta == 0.0) return;
      return MoveAlongInput(input, Phi(y, theta) / theta * learningRate);
    case LearningRule::kOja:
      return LearnByOja(input, y);
  }
}

void BCMNeuron::MoveAlongInput(const std::vector<double>& input, double factor) {
  double* const w = weights.data();
  const double* const x = input.data();
  for (std::size_t i = 0, n = weights.size(); i < n; ++i) w[i] += x[i] * factor;
}

void BCMNeuron::LearnByOja(const std::vector<double>& input, double y) {
  const double step = learningRate * y;
  double* const w = weights.data();
  const double* const x = input.data();
  for (std::size_t i = 0, n = weights.size(); i < n; ++i) w[i] += step * (x[i] - y * w[i]);
}

BCMNeuron::Saved BCMNeuron::Save() const {
  return {weights, history.Save(), theta, yLeft, yRight};
}

BCMNeuron BCMNeuron::Restore(const Saved& saved, double rate, double scale, int window,
                             LearningRule rule) {
  if (!std::all_of(saved.weights.begin(), saved.weights.end(), Finite) || !Finite(saved.theta) ||
      !Finite(saved.yLeft) || !Finite(saved.yRight)) {
    throw std::invalid_argument("a weight, theta or a partial response is not finite");
  }
  BCMNeuron restored(saved.weights, ResponseHistory::Restore(window, saved.history), rate, scale,
                     rule);
  restored.theta = saved.theta;
  restored.yLeft = saved.yLeft;
  restored.yRight = saved.yRight;
  return restored;
}
