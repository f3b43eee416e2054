#pragma once

#include <cstdint>
#include <string>

#include "Parameters.h"

// The main window's tooltips: what each control and status panel shows, in words and units, with
// the session's values as they are when asked. learning: the constants the neuron learns with;
// next: those it takes at the next Reset Weights.

std::string StartHint(const Parameters& next);
std::string StopHint();
std::string EyeHint(const char* eye, const Parameters& next);
std::string ResetWeightsHint(const Parameters& next);
std::string CheckItOutHint();
std::string ListingHint();
std::string PictureHint();

// The weight plot, drawn at pixelsPerUnit (fitted: View → Fit Weights chose it).
std::string PlotHint(double theta, double largestWeight, int pixelsPerUnit, bool fitted);

// Status panel 0 to 5.
std::string PanelHint(int panel, std::uint64_t trainedSteps, const Parameters& learning,
                      const Parameters& next);
