#include "WeightPlot.h"

#include <algorithm>
#include <cmath>

#include "Bcm.h"
#include "Canvas.h"

namespace {
constexpr int kBaseline = 80;
constexpr int kBarPitch = 15;
constexpr double kFarOutside = 1e6;
// The threshold is drawn at a tenth of the bars' scale: it runs ten times as large as a weight.
constexpr double kThresholdShare = 0.1;
// Weights of a fresh neuron would otherwise be stretched a thousandfold and more.
constexpr int kMostPixelsPerUnit = 10000;

void DrawBackground(TCanvas& canvas, int width, int height) {
  canvas.SetBrushColor(clWhite);
  canvas.Rectangle(-1, -1, width + 1, height + 1);
}

void DrawThreshold(TCanvas& canvas, double theta, int width, int pixelsPerUnit) {
  canvas.SetPenColor(clSilver);
  const int y = PlotCoordinate(kBaseline - theta * pixelsPerUnit * kThresholdShare);
  canvas.MoveTo(0, y);
  canvas.LineTo(width, y);
}

void DrawBars(TCanvas& canvas, const std::vector<double>& weights, int pixelsPerUnit) {
  canvas.SetBrushColor(clGreen);
  canvas.SetPenColor(clBlack);
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const int left = kBarPitch * static_cast<int>(i) + 5;
    canvas.Rectangle(left, PlotCoordinate(kBaseline - weights[i] * pixelsPerUnit), left + 10,
                     kBaseline);
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

void DrawWeightPlot(const std::vector<double>& weights, double theta, TCanvas& canvas,
                    int pixelsPerUnit) {
  DrawBackground(canvas, canvas.Width(), canvas.Height());
  DrawThreshold(canvas, theta, canvas.Width(), pixelsPerUnit);
  DrawBars(canvas, weights, pixelsPerUnit);
  DrawDivider(canvas, weights.size(), canvas.Height());
}

int FittedPixelsPerUnit(const std::vector<double>& weights, double theta) {
  double up = 0.0, down = 0.0;
  auto include = [&](double value) {
    if (!std::isfinite(value)) return;
    up = std::max(up, value);
    down = std::max(down, -value);
  };
  for (const double weight : weights) include(weight);
  include(theta * kThresholdShare);
  if (up == 0.0 && down == 0.0) return kClassicPixelsPerUnit;
  double fitting = kMostPixelsPerUnit;
  if (up > 0.0) fitting = std::min(fitting, (kBaseline - kFittedTop) / up);
  // A bar hanging down covers the rows from the baseline to the one before its end.
  if (down > 0.0) fitting = std::min(fitting, (kPlotHeight - kBaseline) / down);
  return std::max(1, static_cast<int>(fitting));
}
