// The classic generator against pcg32: a run of a million steps as orvel-batch makes it (probe
// every 100 steps, nothing written), and the draws alone. pcg32 is meant to cost no more than a
// tenth of the classic run's speed.
#include <benchmark/benchmark.h>

#include "HeadlessHost.h"
#include "Random.h"
#include "RunLogs.h"
#include "TempDir.h"
#include "TrainingRun.h"

namespace {
constexpr runtime::GeneratorKind kClassic = runtime::GeneratorKind::kClassic;
constexpr runtime::GeneratorKind kPcg32 = runtime::GeneratorKind::kPcg32;

template <runtime::GeneratorKind kind>
void BM_Run(benchmark::State& state) {
  const auto steps = state.range(0);
  const TempDir dir;
  Simulation simulation(1, {}, kind);
  {
    RunLogs logs(dir.path().string(), "orvel", std::nullopt, LogChoice::kNone, false);
    for (auto _ : state) {
      HeadlessHost host(simulation, steps);
      TrainingRun(simulation, host, logs);
    }
  }
  state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations() * steps),
                                                 benchmark::Counter::kIsRate);
}

// 24 draws at once, as an eye pair's noise takes them.
template <runtime::GeneratorKind kind>
void BM_TwentyFourDraws(benchmark::State& state) {
  runtime::Random random = runtime::Random::Training(kind, 1);
  int sum = 0;
  for (auto _ : state) {
    random.DrawMany(24, [&sum](std::size_t, int r) { sum += r; });
    benchmark::DoNotOptimize(sum);
  }
}
}  // namespace

BENCHMARK(BM_Run<kClassic>)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Run<kPcg32>)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TwentyFourDraws<kClassic>);
BENCHMARK(BM_TwentyFourDraws<kPcg32>);
BENCHMARK_MAIN();
