#pragma once

#include <array>
#include <optional>
#include <string>

#include "Parameters.h"

class StatusPanels;

// Status panels 1 to 5: the threshold and the simulation's constants. Panel 0 is the run's.
// A run writes them every 50 steps, so the constants' texts are kept and formatted again only
// when the parameters change.
class NeuronPanels {
 public:
  void Write(double theta, const Parameters& parameters, StatusPanels& panels);

 private:
  std::optional<Parameters> formatted_;
  std::array<std::string, 4> constants_;  // panels 2 to 5
};
