#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Parameters.h"
#include "Random.h"

// What the Parameters dialog edits: every parameter, the seed and the generator.
struct Settings {
  Parameters parameters;
  std::uint32_t seed = 0;
  runtime::GeneratorKind generator = runtime::GeneratorKind::kClassic;
};

// When a change of the option called name takes effect, in words for the dialog.
std::string TakesEffectText(const ParameterOption& option);

// Reads the dialog's texts, one per ParameterOptions() entry in its order, and the seed's, into
// settings, as the command line reads them; a text left as shown changes nothing. "" when all
// are valid, else one line naming the first bad one with its valid range (settings unchanged).
std::string ReadSettings(const std::vector<std::string>& texts, const std::string& seedText,
                         Settings& settings);
