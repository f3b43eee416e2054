#pragma once

#include <string>
#include <vector>

#include "BatchOptions.h"
#include "EnsembleUnitRun.h"

// DIR/summary.csv: one row per complete unit per check, in the ensemble's order: the listed
// parameters (their option names with _ for -), the seed, the training step the unit diverged
// at (empty for most), then the unit's checks.csv row; a diverged unit without a check still
// gets a row, its checks empty. Plain names, no quoting, empty fields for missing values: it
// loads as it is into pandas, R and numpy. A complete unit whose checks.csv is not the table it
// wrote is left out and named in damaged, with the reason. Written whole; false with a one-line
// reason in error.
bool WriteEnsembleSummary(const BatchOptions& options, const UnitStates& units,
                          std::vector<std::string>& damaged, std::string& error);
