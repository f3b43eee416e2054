#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "Parameters.h"

class StatusPanels;

// Status panels 1 to 5: the threshold and the simulation's constants. Panel 0 is the run's.
// A constant the neuron will learn with only from the next Reset Weights shows as now→next.
// A run writes them every 50 steps, so the constants' texts are kept and formatted again only
// when the parameters change.
class NeuronPanels {
 public:
  void Write(double theta, const Parameters& learning, const Parameters& next,
             StatusPanels& panels);

 private:
  std::optional<std::pair<Parameters, Parameters>> formatted_;
  std::array<std::string, 4> constants_;  // panels 2 to 5
};
