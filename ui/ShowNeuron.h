#pragma once

#include <vector>

class BCMNeuron;
class StatusPanels;
class TCanvas;

// Draws the neuron's weights as bars rising from a baseline at y = 80 (100 pixels per unit), its
// threshold as a silver line (10 pixels per unit), a red line between the eyes, and writes the
// threshold and the run's constants into status panels 1 to 5. Panel 0 is the run's.
void ShowNeuron(const BCMNeuron& shown, TCanvas& canvas, StatusPanels& panels);

// The same picture and texts from weights and a threshold.
void ShowWeights(const std::vector<double>& weights, double theta, TCanvas& canvas,
                 StatusPanels& panels);

// The two halves of it: the picture, which paints every pixel of the canvas, and the texts.
void DrawWeightPlot(const std::vector<double>& weights, double theta, TCanvas& canvas);
void WriteNeuronPanels(double theta, StatusPanels& panels);

// The picture of the neuron as it is now, rasterised only when the canvas is next read or drawn
// on: a run redraws thousands of times a second, far more often than anyone looks.
void DeferWeightPlot(const BCMNeuron& shown, TCanvas& canvas);

// value truncated toward zero, after NaN is taken as the baseline and the rest clamped to a range
// far outside any image, so that no weight makes the conversion undefined.
int PlotCoordinate(double value);
