#include "Settings.h"

#include "CommandLine.h"

std::string TakesEffectText(const ParameterOption& option) {
  return option.takesEffect == TakesEffect::kNextReset ? "at the next Reset Weights"
                                                       : "at the next step";
}

std::string ReadSettings(const std::vector<std::string>& texts, const std::string& seedText,
                         Settings& settings) {
  Settings read = settings;
  const std::vector<ParameterOption>& options = ParameterOptions();
  for (std::size_t i = 0; i < options.size() && i < texts.size(); ++i) {
    const ParameterOption& option = options[i];
    // Untouched, closed-noise must stay unset: it follows noise until given a value of its own.
    if (texts[i] == option.get(settings.parameters)) continue;
    if (!option.set(read.parameters, texts[i])) {
      return std::string(option.name) + " must be " + std::string(option.valid) + ", not \"" +
             texts[i] + "\"";
    }
  }
  const auto seed = SeedNumber(seedText);
  if (!seed) {
    return std::string("seed must be a whole number from ") + kSeedRange + ", not \"" + seedText +
           "\"";
  }
  read.seed = *seed;
  settings = read;
  return "";
}
