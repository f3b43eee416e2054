#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LearningRule.h"

// The constants of one simulation. The defaults are the classic experiment's; with all of them,
// every log, listing and picture is the one the program has always made.
struct Parameters {
  int inputs = 24;                    // the left eye's, then the right eye's
  double rate = 0.005;                // learning rate
  int tau = 1000;                     // averaging window of the threshold, in responses
  double theta0 = 10.0;               // threshold scale
  double noise = 0.05;                // amplitude of every noise sample
  std::optional<double> closedNoise;  // what an unticked eye sees in training; unset: noise
  double patternRate = 0.2;           // a training step shows patterns when its first draw is below
  double initWeights = 0.15;          // initial weights are drawn from [0, initWeights]
  std::int64_t logEvery = 100;        // logs and probe every logEvery steps of a run
  int redrawEvery = 50;               // the plot every redrawEvery steps
  LearningRule rule = LearningRule::kBcm;

  double ClosedNoise() const { return closedNoise.value_or(noise); }
  int EyeWidth() const { return inputs / 2; }
  bool operator==(const Parameters&) const = default;
};

// When a change of a parameter reaches the simulation: the stimuli's at the next step; the
// neuron's at the next Reset Weights, so that a neuron never learns with two sets.
enum class TakesEffect { kNextStep, kNextReset };

// What a parameter's value is in files: a JSON number, or a word (a JSON string).
enum class ValueKind { kNumber, kWord };

// One command-line option per parameter a user may set, in the order of this table everywhere:
// help texts, records, folder names of an ensemble.
struct ParameterOption {
  std::string_view name;     // "rate": the option is --rate
  std::string_view meaning;  // for help texts
  std::string_view valid;    // the valid range, as error messages state it
  // Sets the parameter from text; false, changing nothing, unless text is a valid value.
  bool (*set)(Parameters& parameters, std::string_view text);
  // The parameter's value as text that set() reads back exactly.
  std::string (*get)(const Parameters& parameters);
  TakesEffect takesEffect = TakesEffect::kNextStep;
  // A parameter that may be left unset follows another until given a value: what it follows, in
  // words, and whether it is set. Null for one that always holds its own value.
  std::string_view follows = {};
  bool (*isSet)(const Parameters& parameters) = nullptr;
  ValueKind kind = ValueKind::kNumber;
  // Added after files without it were made: a file that lacks it means the default, and a state
  // leaves the default out, so that such a state is the same file as before.
  bool newer = false;

  bool IsSet(const Parameters& parameters) const { return isSet == nullptr || isSet(parameters); }
};

const std::vector<ParameterOption>& ParameterOptions();

// The option called name ("rate", without dashes), or null.
const ParameterOption* FindParameterOption(std::string_view name);

// "" when every parameter is within its option's range; else one line naming the first option
// that is not, with its valid range.
std::string ParameterProblem(const Parameters& parameters);

// The parameters that differ from the defaults, as "--name value" pairs joined by blanks.
std::string NonDefaultParameters(const Parameters& parameters);

// to with every parameter that waits for the next Reset Weights taken from from.
Parameters WithNeuronConstants(Parameters to, const Parameters& from);
