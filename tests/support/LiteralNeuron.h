#pragma once

#include <cmath>
#include <vector>

#include "CRand.h"

// The BCM neuron read word for word, with its never-trimmed history and its threshold summed
// afresh with exp and pow at every step. Slow, and kept only as the yardstick the fast neuron is
// measured against.
class LiteralNeuron {
 public:
  LiteralNeuron(int n, double learningRate, double theta0, int tau, double initialWeight,
                runtime::CRand& generator)
      : tau_(tau), learningRate_(learningRate), theta0_(theta0) {
    for (int i = 0; i < n; ++i) weights_.push_back(generator.rand() * initialWeight / 32767);
  }

  double Output(const std::vector<double>& x, bool learn) {
    const std::size_t n = weights_.size();
    double y = 0.0;
    yLeft = 0.0;
    yRight = 0.0;
    for (std::size_t i = 0; i < n; ++i) y = y + weights_[i] * x[i];
    const std::size_t h = n / 2;
    for (std::size_t i = 0; i < h; ++i) {
      yLeft = yLeft + weights_[i] * x[i];
      yRight = yRight + weights_[h + i] * x[h + i];
    }
    if (learn) {
      history_.push_back(y);
      theta_ = Threshold();
      for (std::size_t i = 0; i < n; ++i)
        weights_[i] = weights_[i] + x[i] * (Phi(y) * learningRate_);
    }
    return y;
  }

  double Threshold() const {
    const std::size_t m = history_.size();
    const std::size_t c = std::min(static_cast<std::size_t>(tau_), m);
    double num = 0.0;
    double den = 0.0;
    for (std::size_t i = 0; i < c; ++i) {
      const double v = history_[m - 1 - i];
      num = num + std::exp(-static_cast<double>(i) / static_cast<double>(c)) * std::pow(v, 2.0);
      den = den + std::exp(-static_cast<double>(i) / static_cast<double>(c));
    }
    return theta0_ * num / den;
  }

  const std::vector<double>& Weights() const { return weights_; }
  double Theta() const { return theta_; }

  double yLeft = 0.0;
  double yRight = 0.0;

 private:
  double Phi(double y) const { return y * (y - theta_); }

  std::vector<double> weights_;
  std::vector<double> history_;
  int tau_;
  double learningRate_;
  double theta0_;
  double theta_ = 0.0;
};
