#include "Simulation.h"

#include <stdexcept>

namespace {
const Parameters& Checked(const Parameters& parameters) {
  const std::string problem = ParameterProblem(parameters);
  if (!problem.empty()) throw std::invalid_argument(problem);
  return parameters;
}

BCMNeuron FreshNeuron(const Parameters& parameters, runtime::Random& generator) {
  return generator.Visit([&parameters](auto& drawn) {
    return BCMNeuron(parameters.inputs, parameters.rate, parameters.theta0, parameters.tau,
                     parameters.initWeights, drawn, parameters.rule);
  });
}
}  // namespace

Simulation::Simulation(std::uint32_t seed, const Parameters& parameters,
                       runtime::GeneratorKind kind)
    : generator_(runtime::Random::Training(kind, seed)),
      measurement_(runtime::Random::Measurement(kind, seed)),
      neuron_(FreshNeuron(Checked(parameters), generator_)),
      parameters_(parameters),
      neuronParameters_(parameters) {}

void Simulation::SetParameters(const Parameters& parameters) {
  parameters_ = Checked(parameters);
}

void Simulation::Reseed(runtime::GeneratorKind kind, std::uint32_t seed) {
  generator_ = runtime::Random::Training(kind, seed);
  measurement_ = runtime::Random::Measurement(kind, seed);
}

void Simulation::ResetNeuron() {
  neuron_ = FreshNeuron(parameters_, generator_);
  neuronParameters_ = parameters_;
  diverged_.reset();
}

Simulation::Saved Simulation::Save(bool left, bool right) const {
  const bool classic = generatorKind() == runtime::GeneratorKind::kClassic;
  return {learning(), neuron_.Save(), generator_, classic ? generator_ : measurement_, left, right};
}

void Simulation::Restore(const Saved& saved, const std::optional<Parameters>& parameters) {
  const Parameters applied = Checked(parameters.value_or(saved.parameters));
  if (saved.neuron.weights.size() != static_cast<std::size_t>(applied.inputs)) {
    throw std::invalid_argument("the neuron has " + std::to_string(saved.neuron.weights.size()) +
                                " weights, not " + std::to_string(applied.inputs));
  }
  if (saved.measurement.Kind() != saved.generator.Kind()) {
    throw std::invalid_argument("the training and measurement streams are of different generators");
  }
  neuron_ =
      BCMNeuron::Restore(saved.neuron, applied.rate, applied.theta0, applied.tau, applied.rule);
  generator_ = saved.generator;
  measurement_ = saved.measurement;
  parameters_ = applied;
  neuronParameters_ = applied;
  diverged_.reset();
}
