#pragma once

#include <cstdint>
#include <vector>

#include "LearningRule.h"
#include "ResponseHistory.h"

// One model neuron learning by the BCM rule, or by another rule to compare with it: a Hebbian
// weight change whose sign is set by a sliding threshold that follows the recent squared
// responses. The first half of the inputs is the left eye, the second half the right eye.
class BCMNeuron {
 public:
  // Draws n initial weights in [0, initialWeight] from generator (of any kind that gives
  // 0..32767). Throws std::invalid_argument, before drawing, for n < 0 or window < 1.
  template <class Generator>
  BCMNeuron(int n, double rate, double scale, int window, double initialWeight,
            Generator& generator, LearningRule rule = LearningRule::kBcm)
      : BCMNeuron(n, rate, scale, window, rule) {
    for (int i = 0; i < n; ++i) weights.push_back(generator.rand() * initialWeight / 32767);
  }

  // The weighted sum of input; sets yLeft and yRight. With learn, also records the response,
  // moves the threshold and changes the weights. Throws std::invalid_argument, changing nothing,
  // when input's length is not n.
  double Output(const std::vector<double>& input, bool learn);

  const std::vector<double>& Weights() const { return weights; }
  double Theta() const { return theta; }
  LearningRule Rule() const { return rule_; }
  // theta0 times the weighted mean square of the recent responses; 0.0 before any learning.
  double Threshold() const;
  static double Phi(double y, double theta) { return y * (y - theta); }
  // Learning calls since construction.
  std::uint64_t HistoryLength() const { return history.Length(); }

  // Partial responses of the two eyes to the latest Output.
  double yLeft = 0.0;
  double yRight = 0.0;

  // What a neuron has learnt, apart from the constants it learns with.
  struct Saved {
    std::vector<double> weights;
    ResponseHistory::Saved history;
    double theta = 0.0;
    double yLeft = 0.0;
    double yRight = 0.0;
    bool operator==(const Saved&) const = default;
  };
  Saved Save() const;
  // A neuron that continues saved with these constants; bit for bit when window is the one it was
  // saved with. Throws std::invalid_argument when saved is inconsistent.
  static BCMNeuron Restore(const Saved& saved, double rate, double scale, int window,
                           LearningRule rule = LearningRule::kBcm);

 private:
  BCMNeuron(std::vector<double> initial, ResponseHistory recent, double rate, double scale,
            LearningRule rule);
  // No weights yet, room for n.
  BCMNeuron(int n, double rate, double scale, int window, LearningRule rule);
  void CheckLength(const std::vector<double>& input) const;
  void Learn(const std::vector<double>& input, double y);
  // w += x * factor: the step of bcm and law-cooper.
  void MoveAlongInput(const std::vector<double>& input, double factor);
  void LearnByOja(const std::vector<double>& input, double y);

  std::vector<double> weights;
  ResponseHistory history;
  double learningRate;
  double theta0;
  double theta = 0.0;
  LearningRule rule_;
};
