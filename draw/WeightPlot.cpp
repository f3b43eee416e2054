#include "WeightPlot.h"

#include <algorithm>
#include <cmath>

#include "Bcm.h"
#include "Canvas.h"

namespace {
constexpr int kBaseline = 80;
constexpr int kBarPitch = 15;
constexpr double kFarOutside = 1e6;

void DrawBackground(TCanvas& canvas, int width, int height) {
  canvas.SetBrushColor(clWhite);
  canvas.Rectangle(-1, -1, width + 1, height + 1);
}

void DrawThreshold(TCanvas& canvas, double theta, int width) {
  canvas.SetPenColor(clSilver);
  const int y = PlotCoordinate(kBaseline - theta * 100 * 0.1);
  canvas.MoveTo(0, y);
  canvas.LineTo(width, y);
}

void DrawBars(TCanvas& canvas, const std::vector<double>& weights) {
  canvas.SetBrushColor(clGreen);
  canvas.SetPenColor(clBlack);
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const int left = kBarPitch * static_cast<int>(i) + 5;
    canvas.Rectangle(left, PlotCoordinate(kBaseline - weights[i] * 100), left + 10, kBaseline);
  }
}

void DrawDivider(TCanvas& canvas, std::size_t inputs, int height) {
  canvas.SetPenColor(clRed);
  const int x = static_cast<int>(kBarPitch * inputs / 2 + 2);
  canvas.MoveTo(x, 0);
  canvas.LineTo(x, height);
}
}  // namespace

void DeferWeightPlot(const BCMNeuron& shown, TCanvas& canvas) {
  canvas.DrawLater([weights = shown.Weights(), theta = shown.Theta()](TCanvas& drawn) {
    DrawWeightPlot(weights, theta, drawn);
  });
}

int PlotCoordinate(double value) {
  if (std::isnan(value)) return kBaseline;
  return static_cast<int>(std::clamp(value, -kFarOutside, kFarOutside));
}

void DrawWeightPlot(const std::vector<double>& weights, double theta, TCanvas& canvas) {
  DrawBackground(canvas, canvas.Width(), canvas.Height());
  DrawThreshold(canvas, theta, canvas.Width());
  DrawBars(canvas, weights);
  DrawDivider(canvas, weights.size(), canvas.Height());
}
