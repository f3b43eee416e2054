#pragma once

#include <vector>

class BCMNeuron;
class TCanvas;

// The plot's size in pixels, in the window and in the pictures orvel-batch saves.
inline constexpr int kPlotWidth = 369;
inline constexpr int kPlotHeight = 121;

// The bars' scale the plot has always had, in pixels per unit of weight.
inline constexpr int kClassicPixelsPerUnit = 100;
// A fitted plot keeps the rows above this one for a note of its scale.
inline constexpr int kFittedTop = 12;

// The weight plot: the neuron's weights as bars rising from a baseline at y = 80 (pixelsPerUnit),
// its threshold as a silver line (at a tenth of that scale) and a red line between the eyes.
// Paints every pixel of the canvas.
void DrawWeightPlot(const std::vector<double>& weights, double theta, TCanvas& canvas,
                    int pixelsPerUnit = kClassicPixelsPerUnit);

// The largest whole scale at which every finite weight and the threshold line lie between row
// kFittedTop and the plot's bottom edge; the classic scale when all are 0.
int FittedPixelsPerUnit(const std::vector<double>& weights, double theta);

// The plot of the neuron as it is now, rasterised only when the canvas is next read or drawn
// on: a run redraws thousands of times a second, far more often than anyone looks.
void DeferWeightPlot(const BCMNeuron& shown, TCanvas& canvas);

// value truncated toward zero, after NaN is taken as the baseline and the rest clamped to a range
// far outside any image, so that no weight makes the conversion undefined.
int PlotCoordinate(double value);
