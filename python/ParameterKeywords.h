#pragma once

#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "Parameters.h"

// The simulation's parameters as Python keywords: the command line's options (ParameterOptions)
// with _ for -, checked by the command line's own code, so that a value the command line refuses
// is refused here with the same message.

// "closed_noise" for --closed-noise.
std::string KeywordOf(const ParameterOption& option);
// The option of a keyword; raises TypeError, naming every keyword, for any other name.
const ParameterOption& OptionOfKeyword(const std::string& keyword);

// A Python value as the command line's text of it: digits for an integer, the shortest exact
// text for a float, a string as it is; True, False and None as words every option refuses.
std::string ValueText(pybind11::handle value);

// Sets every keyword's parameter; ValueError with the command line's message for a bad value.
// None leaves a parameter that follows another (closed_noise) following it. given, when not
// null, gets the option names set.
void SetFromKeywords(Parameters& parameters, const pybind11::kwargs& keywords,
                     std::vector<std::string>* given = nullptr);

// Every parameter by keyword: an int or a float as its option's values are; None for one that
// follows another and is not set.
pybind11::dict ParameterValues(const Parameters& parameters);

// Whether an option takes whole numbers only.
bool IsWhole(const ParameterOption& option);

// One line per parameter for docstrings: keyword, meaning, valid values, default.
std::string ParameterManual();
