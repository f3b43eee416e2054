#pragma once

#include <vector>

class BCMNeuron;
class TCanvas;

// The plot's size in pixels, in the window and in the pictures orvel-batch saves.
inline constexpr int kPlotWidth = 369;
inline constexpr int kPlotHeight = 121;

// The weight plot: the neuron's weights as bars rising from a baseline at y = 80 (100 pixels per
// unit), its threshold as a silver line (10 pixels per unit) and a red line between the eyes.
// Paints every pixel of the canvas.
void DrawWeightPlot(const std::vector<double>& weights, double theta, TCanvas& canvas);

// The plot of the neuron as it is now, rasterised only when the canvas is next read or drawn
// on: a run redraws thousands of times a second, far more often than anyone looks.
void DeferWeightPlot(const BCMNeuron& shown, TCanvas& canvas);

// value truncated toward zero, after NaN is taken as the baseline and the rest clamped to a range
// far outside any image, so that no weight makes the conversion undefined.
int PlotCoordinate(double value);
