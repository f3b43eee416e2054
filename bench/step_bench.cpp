// One training step as a run performs it, with the fast threshold and with the literal one, so the
// ratio of the two is measured in one run; and the threshold on its own.
#include <benchmark/benchmark.h>

#include "Bcm.h"
#include "CRand.h"
#include "LiteralNeuron.h"
#include "Simulation.h"
#include "TrainingRun.h"

namespace {
constexpr int kWarmUp = 2000;  // past the 1,000-response window

// The inputs come from a simulation of their own, drawn exactly as a run with both eyes open,
// into one buffer as a run draws them.
const std::vector<double>& BothEyesOpenInput(Simulation& inputs, std::vector<double>& buffer) {
  DrawTrainingInput(inputs, true, true, buffer);
  return buffer;
}

template <class Neuron>
Neuron WarmNeuron(Simulation& inputs) {
  runtime::CRand generator(1);
  Neuron neuron(24, 0.005, 10.0, 1000, 0.15, generator);
  std::vector<double> buffer;
  for (int i = 0; i < kWarmUp; ++i) neuron.Output(BothEyesOpenInput(inputs, buffer), true);
  return neuron;
}

template <class Neuron>
void TrainingStep(benchmark::State& state) {
  Simulation inputs(1);
  Neuron neuron = WarmNeuron<Neuron>(inputs);
  std::vector<double> buffer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(neuron.Output(BothEyesOpenInput(inputs, buffer), true));
  }
  state.counters["steps/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TrainingStep(benchmark::State& state) {
  TrainingStep<BCMNeuron>(state);
}
void BM_TrainingStepLiteral(benchmark::State& state) {
  TrainingStep<LiteralNeuron>(state);
}

void BM_Threshold(benchmark::State& state) {
  Simulation inputs(1);
  const BCMNeuron neuron = WarmNeuron<BCMNeuron>(inputs);
  for (auto _ : state) benchmark::DoNotOptimize(neuron.Threshold());
}

void BM_ThresholdLiteral(benchmark::State& state) {
  Simulation inputs(1);
  const LiteralNeuron neuron = WarmNeuron<LiteralNeuron>(inputs);
  for (auto _ : state) benchmark::DoNotOptimize(neuron.Threshold());
}

void BM_DrawingTheInputOnly(benchmark::State& state) {
  Simulation inputs(1);
  std::vector<double> buffer;
  for (auto _ : state) benchmark::DoNotOptimize(BothEyesOpenInput(inputs, buffer).data());
  state.counters["steps/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
}  // namespace

BENCHMARK(BM_TrainingStep);
BENCHMARK(BM_TrainingStepLiteral);
BENCHMARK(BM_Threshold);
BENCHMARK(BM_ThresholdLiteral);
BENCHMARK(BM_DrawingTheInputOnly);
BENCHMARK_MAIN();
