#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Action.h"
#include "Probe.h"
#include "Read.h"

// checks.csv in a unit's folder: one row per Check It Out with the exact numbers its listing
// shows to five decimals, and the neuron's threshold and mean weights at that moment, for the
// ensemble's summary. Numbers are the shortest text that reads back exactly, with a full stop; a
// dominance that does not exist is an empty field. This is the format's one owner: its header,
// its rows and their strict reader.

// What one Check It Out saw.
struct CheckMoment {
  std::string name;  // check=NAME's; "" for a plain check, which the table numbers
  std::uint64_t trainedSteps = 0;
  std::optional<EyeMaxima> logged;  // log.txt's latest line; none before the first logged step
  std::vector<ListingRow> rows;
  double theta = 0.0;
  double meanWeightLeft = 0.0, meanWeightRight = 0.0;
};

// "check,steps,max_left,max_right,odi,left_0,...,left_11,right_0,...,right_11,theta,
// mean_weight_left,mean_weight_right\n"
std::string CheckTableHeader();

// number counts from 1; the check column holds the moment's name, or number without one.
std::string CheckTableRow(int number, const CheckMoment& moment);

// One row as the reader hands it on.
struct CheckRow {
  std::string text;           // with its newline; a table written before theta and the mean
                              // weights were gets their columns empty
  double listingMaxLeft = 0;  // the largest of the listing's left_0 ... left_11
  double listingMaxRight = 0;
};

// The rows of checks.csv text, checked whole: the header, then whole rows numbered 1, 2, ... (or
// named), each exactly as CheckTableRow writes the numbers it holds. A table of an earlier version,
// without theta and the mean weights, reads too. Else the first fault, in one line. Never throws.
runtime::Read<std::vector<CheckRow>> ReadCheckRows(std::string_view text);

// The same for the file at path; the reason does not name the file, which the caller knows.
runtime::Read<std::vector<CheckRow>> ReadCheckRowsFile(const std::string& path);
