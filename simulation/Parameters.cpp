#include "Parameters.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "NumberText.h"

namespace {
template <class Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number value{};
  if (text.empty() || text.front() == '+') return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsReal(double value, double low, double high) {
  return std::isfinite(value) && value >= low && value <= high;
}

template <class Number, Number Parameters::*field>
bool SetWithin(Parameters& parameters, std::string_view text, bool (*valid)(Number)) {
  const std::optional<Number> value = ParseNumber<Number>(text);
  if (!value || !valid(*value)) return false;
  parameters.*field = *value;
  return true;
}

constexpr double kHuge = std::numeric_limits<double>::max();

bool ValidRate(double value) {
  return IsReal(value, 0.0, kHuge) && value > 0.0;
}
bool ValidTau(int value) {
  return value >= 1 && value <= 10'000'000;
}
bool ValidAmplitude(double value) {
  return IsReal(value, 0.0, 10.0);
}
bool ValidProbability(double value) {
  return IsReal(value, 0.0, 1.0);
}
bool ValidInitialWeight(double value) {
  return IsReal(value, 0.0, kHuge);
}
bool ValidLogPeriod(std::int64_t value) {
  return value >= 1 && value <= 1'000'000'000;
}

bool SetClosedNoise(Parameters& parameters, std::string_view text) {
  const std::optional<double> value = ParseNumber<double>(text);
  if (!value || !ValidAmplitude(*value)) return false;
  parameters.closedNoise = *value;
  return true;
}

bool SetRule(Parameters& parameters, std::string_view text) {
  const std::optional<LearningRule> rule = LearningRuleNamed(text);
  if (!rule) return false;
  parameters.rule = *rule;
  return true;
}

const std::vector<ParameterOption> kOptions = {
    {"rate", "learning rate", "finite, > 0",
     [](Parameters& p, std::string_view t) {
       return SetWithin<double, &Parameters::rate>(p, t, ValidRate);
     },
     [](const Parameters& p) { return runtime::ShortestText(p.rate); }, TakesEffect::kNextReset},
    {"tau", "averaging window of the threshold (responses)", "whole, 1 ... 10000000",
     [](Parameters& p, std::string_view t) {
       return SetWithin<int, &Parameters::tau>(p, t, ValidTau);
     },
     [](const Parameters& p) { return std::to_string(p.tau); }, TakesEffect::kNextReset},
    {"theta0", "threshold scale", "finite, > 0",
     [](Parameters& p, std::string_view t) {
       return SetWithin<double, &Parameters::theta0>(p, t, ValidRate);
     },
     [](const Parameters& p) { return runtime::ShortestText(p.theta0); }, TakesEffect::kNextReset},
    {"noise", "noise amplitude", "finite, 0 ... 10",
     [](Parameters& p, std::string_view t) {
       return SetWithin<double, &Parameters::noise>(p, t, ValidAmplitude);
     },
     [](const Parameters& p) { return runtime::ShortestText(p.noise); }},
    {"closed-noise", "noise amplitude an unticked eye sees in training", "finite, 0 ... 10",
     SetClosedNoise, [](const Parameters& p) { return runtime::ShortestText(p.ClosedNoise()); },
     TakesEffect::kNextStep, "the --noise value",
     [](const Parameters& p) { return p.closedNoise.has_value(); }},
    {"pattern-rate", "probability that a training step shows patterns", "0 ... 1",
     [](Parameters& p, std::string_view t) {
       return SetWithin<double, &Parameters::patternRate>(p, t, ValidProbability);
     },
     [](const Parameters& p) { return runtime::ShortestText(p.patternRate); }},
    {"init-weights", "initial weights are drawn from [0, X]", "finite, >= 0",
     [](Parameters& p, std::string_view t) {
       return SetWithin<double, &Parameters::initWeights>(p, t, ValidInitialWeight);
     },
     [](const Parameters& p) { return runtime::ShortestText(p.initWeights); },
     TakesEffect::kNextReset},
    {"log-every", "logs and probe every X steps of a run", "whole, 1 ... 1000000000",
     [](Parameters& p, std::string_view t) {
       return SetWithin<std::int64_t, &Parameters::logEvery>(p, t, ValidLogPeriod);
     },
     [](const Parameters& p) { return std::to_string(p.logEvery); }},
    {"rule",
     "learning rule",
     "bcm, law-cooper or oja",
     SetRule,
     [](const Parameters& p) { return std::string(LearningRuleName(p.rule)); },
     TakesEffect::kNextReset,
     {},
     nullptr,
     ValueKind::kWord,
     true},
};
}  // namespace

const std::vector<ParameterOption>& ParameterOptions() {
  return kOptions;
}

const ParameterOption* FindParameterOption(std::string_view name) {
  for (const ParameterOption& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

std::string ParameterProblem(const Parameters& parameters) {
  for (const ParameterOption& option : kOptions) {
    Parameters probe;
    const std::string text = option.get(parameters);
    if (!option.set(probe, text) || option.get(probe) != text) {
      return "--" + std::string(option.name) + " must be " + std::string(option.valid) + ", not " +
             text;
    }
  }
  return "";
}

std::string NonDefaultParameters(const Parameters& parameters) {
  const Parameters defaults;
  std::string text;
  for (const ParameterOption& option : kOptions) {
    if (option.get(parameters) == option.get(defaults)) continue;
    if (!option.IsSet(parameters)) continue;
    if (!text.empty()) text += ' ';
    text += "--" + std::string(option.name) + ' ' + option.get(parameters);
  }
  return text;
}

Parameters WithNeuronConstants(Parameters to, const Parameters& from) {
  for (const ParameterOption& option : kOptions) {
    if (option.takesEffect == TakesEffect::kNextReset) option.set(to, option.get(from));
  }
  return to;
}
