#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "BatchOptions.h"
#include "EnsembleUnitRun.h"
#include "Read.h"

// DIR/summary.csv: one row per complete unit per check, in the ensemble's order: the listed
// parameters (their option names with _ for -), the seed, the training step the unit diverged
// at (empty for most), the unit's checks.csv row, the largest responses of the check's listing
// and their dominance (listing_max_left, listing_max_right, listing_odi), then every parameter
// that is not listed, then its protocol with --protocol; a diverged unit without a check still
// gets a row, its checks empty. Plain names, no quoting, empty fields for missing values: it loads
// as it is into pandas, R and numpy. A complete unit whose checks.csv is not the table it wrote is
// left out and named in damaged, with the reason. Written whole; false with a one-line reason in
// error.
bool WriteEnsembleSummary(const BatchOptions& options, const UnitStates& units,
                          std::vector<std::string>& damaged, std::string& error);

// summary.csv column by column: numbers, where an empty field (a dominance that does not exist)
// is NaN, except the words of the generator's, the rule's and the protocol's columns, and the
// checks' once a check has a name. For the Python module, which hands the table on as arrays.
struct SummaryTable {
  std::vector<std::string> names;
  std::vector<std::vector<double>> columns;     // one per name, a value per row; empty for words
  std::vector<std::vector<std::string>> words;  // one per name, a word per row; empty for numbers
};

// The table of summary.csv text, checked whole: a header, then rows of as many fields, each
// empty or one number (a generator's, a rule's or a protocol's name in its column). Else the
// first fault, in one line. Never throws.
runtime::Read<SummaryTable> ReadEnsembleSummary(std::string_view text);
// The same for the file at path; the reason does not name the file, which the caller knows.
runtime::Read<SummaryTable> ReadEnsembleSummaryFile(const std::string& path);
