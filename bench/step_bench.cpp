// One training step as a run performs it, with the fast threshold and with the literal one, so the
// ratio of the two is measured in one run, with the divergence test, and by the other learning
// rules; and the threshold on its own. Also a logged number as
// the log writer formats it, and the same through std::to_chars.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>

#include "Bcm.h"
#include "CRand.h"
#include "LiteralNeuron.h"
#include "NumberText.h"
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

// rule: none for the classic neuron's own constructor, or the rule BCMNeuron learns by.
template <class Neuron, class... Rule>
Neuron WarmNeuron(Simulation& inputs, Rule... rule) {
  runtime::CRand generator(1);
  Neuron neuron(24, 0.005, 10.0, 1000, 0.15, generator, rule...);
  std::vector<double> buffer;
  for (int i = 0; i < kWarmUp; ++i) neuron.Output(BothEyesOpenInput(inputs, buffer), true);
  return neuron;
}

// checkDivergence: with the test a run makes after each step, so that against the step alone
// it shows what that test costs.
template <class Neuron, bool checkDivergence = false, class... Rule>
void TrainingStep(benchmark::State& state, Rule... rule) {
  Simulation inputs(1);
  Neuron neuron = WarmNeuron<Neuron>(inputs, rule...);
  std::vector<double> buffer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(neuron.Output(BothEyesOpenInput(inputs, buffer), true));
    if (checkDivergence && !std::isfinite(neuron.Theta())) state.SkipWithError("diverged");
  }
  state.counters["steps/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TrainingStep(benchmark::State& state) {
  TrainingStep<BCMNeuron>(state);
}
void BM_TrainingStepCheckingDivergence(benchmark::State& state) {
  TrainingStep<BCMNeuron, true>(state);
}
// The other rules on the same inputs, for their ratio to the classic step in one run.
void BM_TrainingStepLawCooper(benchmark::State& state) {
  TrainingStep<BCMNeuron>(state, LearningRule::kLawCooper);
}
void BM_TrainingStepOja(benchmark::State& state) {
  TrainingStep<BCMNeuron>(state, LearningRule::kOja);
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

// A line of weights as the logs hold them: 0 to 0.15, "%8.5f" each.
std::vector<double> LoggedWeights() {
  runtime::CRand generator(7);
  std::vector<double> weights(24);
  for (double& weight : weights) weight = 0.15 * generator.rand() / runtime::kRandMax;
  return weights;
}

template <class Append>
void LoggedNumber(benchmark::State& state, Append append) {
  const std::vector<double> weights = LoggedWeights();
  std::string line;
  std::size_t i = 0;
  for (auto _ : state) {
    if (i == weights.size()) {
      line.clear();
      i = 0;
    }
    append(line, weights[i++]);
    benchmark::DoNotOptimize(line.data());
  }
}

void BM_AppendFixed(benchmark::State& state) {
  LoggedNumber(state,
               [](std::string& line, double value) { runtime::AppendFixed(line, value, 8, 5); });
}

void BM_AppendFixedByToChars(benchmark::State& state) {
  LoggedNumber(state, [](std::string& line, double value) {
    char digits[64];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 5);
    const auto length = static_cast<std::size_t>(result.ptr - digits);
    if (length < 8) line.append(8 - length, ' ');
    line.append(digits, length);
  });
}
}  // namespace

BENCHMARK(BM_TrainingStep);
BENCHMARK(BM_TrainingStepCheckingDivergence);
BENCHMARK(BM_TrainingStepLawCooper);
BENCHMARK(BM_TrainingStepOja);
BENCHMARK(BM_TrainingStepLiteral);
BENCHMARK(BM_Threshold);
BENCHMARK(BM_ThresholdLiteral);
BENCHMARK(BM_DrawingTheInputOnly);
BENCHMARK(BM_AppendFixed);
BENCHMARK(BM_AppendFixedByToChars);
BENCHMARK_MAIN();
