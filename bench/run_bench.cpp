// The run loop without a window: a million steps with the real logs, the pump doing nothing.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "Bcm.h"
#include "CRand.h"
#include "HeadlessHost.h"
#include "RunLogs.h"
#include "TempDir.h"
#include "TrainingRun.h"

namespace {
void BM_HeadlessRun(benchmark::State& state) {
  const auto steps = state.range(0);
  const TempDir dir;
  Simulation simulation(1);
  {
    RunLogs logs(dir.path().string());
    for (auto _ : state) {
      HeadlessHost host(simulation, steps);
      TrainingRun(simulation, host, logs);
    }
  }
  state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations() * steps),
                                                 benchmark::Counter::kIsRate);
}
}  // namespace

BENCHMARK(BM_HeadlessRun)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
