#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "Random.h"

// --generator's value: one generator's name, or an ensemble's comma list of them
// ("classic,pcg32"), as the command line and ensemble.json give it.

// The generators in the order given; nullopt when an item names none or one is named twice.
std::optional<std::vector<runtime::GeneratorKind>> ParseGeneratorList(std::string_view text);

// What a bad list must be instead, for the one-line messages of both readers.
inline constexpr const char* kGeneratorListValid = "classic, pcg32 or a list of them";
