#include "ControlHints.h"

#include "NumberFormat.h"
#include "NumberText.h"

namespace {

std::string Fixed(double value, int decimals) {
  return FloatToStrF(value, ffFixed, 10, decimals);
}

std::string NoiseRange(double amplitude) {
  return Fixed(-amplitude, 3) + " to " + Fixed(amplitude, 3);
}

// A constant the neuron takes only at the next Reset Weights, when it differs.
std::string Waiting(const std::string& now, const std::string& next) {
  return now == next ? "" : " (" + next + " from the next Reset Weights, shown after the arrow)";
}

std::string ThresholdHint(const Parameters& learning) {
  return "th: the sliding threshold \u03b8, in units of the response squared: theta0 (" +
         Fixed(learning.theta0, 1) + ") times the mean squared response over the last " +
         runtime::GroupedDigits(static_cast<std::int64_t>(learning.tau)) +
         " responses (tau). A response above \u03b8 strengthens the weights of the active inputs, "
         "one below it weakens them.";
}
}  // namespace

std::string StartHint(const Parameters& next) {
  return "Start (F5): trains the neuron step after step until Stop. Each step shows both eyes "
         "noise from " +
         NoiseRange(next.noise) + ", or, in " + Fixed(next.patternRate * 100, 0) +
         "% of steps, a pattern at a random one of the 12 positions, and the neuron learns from "
         "its response. Pressed during a run, it starts a run inside it.";
}

std::string StopHint() {
  return "Stop (Esc): ends every run. The weights stay as they are.";
}

std::string EyeHint(const char* eye, const Parameters& next) {
  return std::string(eye) +
         " eye: ticked, it sees what the training shows; unticked, it is closed and sees only "
         "noise from " +
         NoiseRange(next.ClosedNoise()) + ". Takes effect at the next step.";
}

std::string ResetWeightsHint(const Parameters& next) {
  return "Reset Weights: a fresh neuron, its " + std::to_string(next.inputs) +
         " weights drawn at random from 0 to " + Fixed(next.initWeights, 2) +
         ". It learns with the rate, tau and theta0 now set; a run goes on with it.";
}

std::string CheckItOutHint() {
  return "Check It Out: lists the neuron's response to a pattern at each of the 12 positions, "
         "both eyes seeing it. The neuron does not learn from it.";
}

std::string ListingHint() {
  return "Check It Out's listing, one line per pattern position 0 to 11: the left eye's "
         "response + the right eye's = the whole response (the weighted sum of the inputs). Each "
         "press shows the patterns with fresh noise, so the last digits change from press to "
         "press; the listing is of the neuron at the last press, until the next one, even after "
         "Reset Weights.";
}

std::string PictureHint() {
  return "The neuron: 12 inputs from the left eye (blue), 12 from the right (red).";
}

std::string PlotHint(double theta, double largestWeight, int pixelsPerUnit, bool fitted) {
  return "The 24 weights as green bars: the left eye's (inputs 0 to 11) left of the red line, "
         "the right eye's right of it, rising from the baseline (weight 0) at " +
         std::to_string(pixelsPerUnit) + " pixels per unit" +
         (fitted ? ", fitted to the largest (View \u2192 Fit Weights)" : "") + "; the largest is " +
         Fixed(largestWeight, 3) + ". The grey line is the threshold \u03b8 = " + Fixed(theta, 3) +
         ", drawn at a tenth of the bars' scale: it is not the zero line.";
}

std::string PanelHint(int panel, std::uint64_t trainedSteps, const Parameters& learning,
                      const Parameters& next) {
  switch (panel) {
    case 0:
      return "The step of the run going on, counted from 0 in every run; " +
             runtime::GroupedDigits(static_cast<std::int64_t>(trainedSteps)) +
             " steps trained in the session.";
    case 1:
      return ThresholdHint(learning);
    case 2:
      return "learn.: the learning rate" + Waiting(Fixed(learning.rate, 4), Fixed(next.rate, 4)) +
             ". Each step changes every weight by rate \u00d7 input \u00d7 response \u00d7 "
             "(response \u2212 \u03b8).";
    case 3:
      return "tau: the threshold's averaging window: \u03b8 follows the last " +
             runtime::GroupedDigits(static_cast<std::int64_t>(learning.tau)) + " responses" +
             Waiting(IntToStr(learning.tau), IntToStr(next.tau)) + ".";
    case 4:
      return "theta0: the threshold's scale" +
             Waiting(Fixed(learning.theta0, 1), Fixed(next.theta0, 1)) +
             ": \u03b8 is theta0 times the mean squared response.";
    default:
      return "noise: every noise sample is drawn evenly from " + NoiseRange(next.noise) +
             ". A failure shows here in red until the next Start; standard error has the "
             "whole message.";
  }
}
