// What the window costs a run: one ProcessMessages with nothing pending, and one redraw of the
// weight plot and panels.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Application.h"
#include "Bcm.h"
#include "CRand.h"
#include "Canvas.h"
#include "NeuronPanels.h"
#include "Parameters.h"
#include "StatusPanels.h"
#include "WeightPlot.h"

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

void BM_DrawWeightPlotAndPanels(benchmark::State& state) {
  runtime::CRand generator(1);
  const BCMNeuron shown(24, 0.005, 10.0, 1000, 0.15, generator);
  const Parameters parameters;
  Bitmap bitmap(369, 121);
  TCanvas canvas(bitmap);
  NoPanels panels;
  NeuronPanels neuronPanels;
  for (auto _ : state) {
    DrawWeightPlot(shown.Weights(), shown.Theta(), canvas);
    neuronPanels.Write(shown.Theta(), parameters, parameters, panels);
  }
}
}  // namespace

BENCHMARK(BM_ProcessMessagesWithNothingPending);
BENCHMARK(BM_DrawWeightPlotAndPanels);
BENCHMARK_MAIN();
