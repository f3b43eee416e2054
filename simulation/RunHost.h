#pragma once

#include <cstdint>

class BCMNeuron;

// What a training run needs from the window around it. The window implements it; tests and the
// batch program implement it with scripts.
class RunHost {
 public:
  virtual ~RunHost() = default;

  // Status panel 0 shows StepText(step).
  virtual void ShowStep(std::int64_t step) = 0;
  // Redraws the weight plot and status panels 1 to 5.
  virtual void ShowNeuron(const BCMNeuron& shown) = 0;
  // The eye check boxes as they are at the moment of the call.
  virtual bool LeftTicked() const = 0;
  virtual bool RightTicked() const = 0;
  // Runs every pending event; a handler run here may start a nested run, stop all runs, or
  // replace the neuron.
  virtual void ProcessMessages() = 0;
  // While the run is paused: runs events as they come, without spinning where the host can sleep
  // until one arrives.
  virtual void WaitForMessages() { ProcessMessages(); }
};
