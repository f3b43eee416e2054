#pragma once

#include <cstdint>
#include <string>

// An ensemble's load= may name each unit's own state: {seed} stands for the unit's seed and
// {unit} for its folder inside the ensemble's ("closed-noise=0.05/seed-3"), as in
// load=rear/seed-{seed}/reared.json.

// "" when every { in path opens one of the two, else the fault in one line.
std::string PlaceholderProblem(const std::string& path);

bool HasPlaceholder(const std::string& path);

// path with its placeholders filled in; call only on a path without a PlaceholderProblem.
std::string FillPlaceholders(const std::string& path, std::uint32_t seed, const std::string& unit);
