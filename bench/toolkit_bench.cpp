// What the window costs a run: one ProcessMessages with nothing pending, and one ShowNeuron.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Application.h"
#include "Bcm.h"
#include "CRand.h"
#include "Canvas.h"
#include "ShowNeuron.h"

namespace {
struct NoPanels : StatusPanels {
  void SetPanelText(int, const std::string& text) override { benchmark::DoNotOptimize(text); }
};

void BM_ProcessMessagesWithNothingPending(benchmark::State& state) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TApplication application;
  application.Initialize();
  for (auto _ : state) application.ProcessMessages();
}

void BM_ShowNeuron(benchmark::State& state) {
  runtime::srand(1);
  const BCMNeuron shown(24, 0.005, 10.0, 1000);
  Bitmap bitmap(369, 121);
  TCanvas canvas(bitmap);
  NoPanels panels;
  for (auto _ : state) ShowNeuron(shown, canvas, panels);
}
}  // namespace

BENCHMARK(BM_ProcessMessagesWithNothingPending);
BENCHMARK(BM_ShowNeuron);
BENCHMARK_MAIN();
