// One training step as a run performs it, with the fast threshold and with the literal one, so the
// ratio of the two is measured in one run; and the threshold on its own.
#include <benchmark/benchmark.h>

#include "Bcm.h"
#include "CRand.h"
#include "HeadlessHost.h"
#include "LiteralNeuron.h"
#include "TrainingRun.h"

namespace {
constexpr int kWarmUp = 2000;  // past the 1,000-response window
const HeadlessHost kBothEyesOpen(0);

std::vector<double> NextTrainingInput() {
  return DrawTrainingInput(kBothEyesOpen);
}

template <class Neuron>
Neuron WarmNeuron() {
  runtime::srand(1);
  Neuron neuron(24, 0.005, 10.0, 1000);
  for (int i = 0; i < kWarmUp; ++i) neuron.Output(NextTrainingInput(), true);
  return neuron;
}

template <class Neuron>
void TrainingStep(benchmark::State& state) {
  Neuron neuron = WarmNeuron<Neuron>();
  for (auto _ : state) benchmark::DoNotOptimize(neuron.Output(NextTrainingInput(), true));
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
  const BCMNeuron neuron = WarmNeuron<BCMNeuron>();
  for (auto _ : state) benchmark::DoNotOptimize(neuron.Threshold());
}

void BM_ThresholdLiteral(benchmark::State& state) {
  const LiteralNeuron neuron = WarmNeuron<LiteralNeuron>();
  for (auto _ : state) benchmark::DoNotOptimize(neuron.Threshold());
}

void BM_DrawingTheInputOnly(benchmark::State& state) {
  runtime::srand(1);
  for (auto _ : state) benchmark::DoNotOptimize(NextTrainingInput());
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
