#pragma once

#include <cstdint>
#include <optional>

#include "Bcm.h"
#include "Divergence.h"
#include "Parameters.h"
#include "Random.h"

// Everything one simulation is: its random streams, its neuron, the constants they follow, and the
// requests a user makes of its runs. Two simulations share nothing, so each may run in a thread
// of its own; within one, everything happens on one thread, and handlers nested in a run's event
// pump change these between two steps.
class Simulation {
 public:
  // Seeds the generator and draws the first neuron, as the window's start-up does. Throws
  // std::invalid_argument when ParameterProblem(parameters) is not empty.
  explicit Simulation(std::uint32_t seed, const Parameters& parameters = {},
                      runtime::GeneratorKind kind = runtime::GeneratorKind::kClassic);

  const Parameters& parameters() const { return parameters_; }
  // The constants the current neuron learns with: the neuron's own wait for the next ResetNeuron.
  Parameters learning() const { return WithNeuronConstants(parameters_, neuronParameters_); }
  // The stimulus constants apply from the next step on; the neuron's (rate, tau, theta0, initial
  // weights, rule) from the next ResetNeuron, so that a neuron never mixes two sets. Throws
  // std::invalid_argument, changing nothing, when ParameterProblem(parameters) is not empty.
  void SetParameters(const Parameters& parameters);

  // Replaces the neuron by a fresh one drawn from the generator, in place: anything holding a
  // reference to `neuron` sees the new one.
  void ResetNeuron();

  // The logic of the Stop and Pause handlers. One stop request ends every nested run.
  void RequestStop() { stopRequested_ = true; }
  void TogglePause() { paused_ = !paused_; }
  void SetPaused(bool paused) { paused_ = paused; }
  // A run clears the request when it starts, then tests it before every step.
  void ClearStop() { stopRequested_ = false; }
  bool stopRequested() const { return stopRequested_; }
  // While set, the innermost run only waits for events.
  bool paused() const { return paused_; }

  // The stream training draws from: initial weights and every step's input.
  runtime::Random& generator() { return generator_; }
  const runtime::Random& generator() const { return generator_; }
  // The stream the probe and Check It Out draw from. The classic generator has one stream, which
  // measuring shifts for training; pcg32 measures from a stream of its own, so that a run's
  // course is the same however often it is looked at.
  runtime::Random& measurement() {
    return generatorKind() == runtime::GeneratorKind::kClassic ? generator_ : measurement_;
  }
  runtime::GeneratorKind generatorKind() const { return generator_.Kind(); }
  // Both streams restart from seed, with this kind of generator.
  void Reseed(runtime::GeneratorKind kind, std::uint32_t seed);
  BCMNeuron& neuron() { return neuron_; }
  const BCMNeuron& neuron() const { return neuron_; }
  // Training steps taken by every neuron of this simulation so far.
  std::uint64_t trainedSteps() const { return trainedSteps_; }
  void CountTrainingStep() { ++trainedSteps_; }
  // Set by the run that made the neuron diverge, until a fresh or restored neuron replaces it.
  const std::optional<Divergence>& diverged() const { return diverged_; }
  void MarkDiverged(const Divergence& divergence) { diverged_ = divergence; }

  // Everything needed to continue this simulation exactly, with the eye boxes as they are.
  struct Saved {
    Parameters parameters;
    BCMNeuron::Saved neuron;
    runtime::Random generator;
    runtime::Random measurement;  // with classic, the same as generator: its one stream
    bool left = true;
    bool right = true;
    bool operator==(const Saved&) const = default;
  };
  // A state saved before the next ResetNeuron keeps the constants the neuron learns with, so that
  // it continues exactly; the neuron constants set since are not saved.
  Saved Save(bool left, bool right) const;
  // Continues saved: its neuron, history and generator, and its parameters unless `parameters`
  // are given, which then apply to the saved neuron from now on. Throws std::invalid_argument,
  // changing nothing, when saved is inconsistent.
  void Restore(const Saved& saved, const std::optional<Parameters>& parameters = std::nullopt);

 private:
  runtime::Random generator_;
  runtime::Random measurement_;  // pcg32's; unused with classic
  BCMNeuron neuron_;
  bool stopRequested_ = false;
  bool paused_ = false;
  std::uint64_t trainedSteps_ = 0;
  std::optional<Divergence> diverged_;
  Parameters parameters_;
  Parameters neuronParameters_;  // those the current neuron was made or restored with
};
