#pragma once

#include <cstddef>
#include <string>

#include "BatchOptions.h"

// The columns every table of an ensemble starts with, so that its files join on them: each listed
// parameter under its option name with _ for - (a name R and numpy take as it is), then the
// generator.

std::string ParameterColumn(const ParameterOption& option);

// "closed_noise,rate,generator,"
std::string ListedHeader(const EnsemblePlan& plan);

// The values of the unit's listed parameters, exact, and its generator, each followed by a comma.
std::string ListedValues(const BatchOptions& options, std::size_t unit);
