#pragma once

#include <cstdint>

#include "RunHost.h"
#include "Simulation.h"
#include "TrainingRun.h"

// A host with nothing to show and no events: the pump only stops the run after `steps` steps.
class HeadlessHost : public RunHost {
 public:
  HeadlessHost(Simulation& simulation, std::int64_t steps)
      : simulation_(simulation), remaining_(steps) {}
  void ShowStep(std::int64_t) override {}
  void ShowNeuron(const BCMNeuron&) override {}
  bool LeftTicked() const override { return true; }
  bool RightTicked() const override { return true; }
  void ProcessMessages() override {
    if (--remaining_ == 0) simulation_.RequestStop();
  }

 private:
  Simulation& simulation_;
  std::int64_t remaining_;
};
