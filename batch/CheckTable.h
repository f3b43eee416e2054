#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Probe.h"

// checks.csv in a unit's folder: one row per Check It Out with the exact numbers its listing
// shows to five decimals, for the ensemble's summary. Numbers are the shortest text that reads
// back exactly, with a full stop; a dominance that does not exist is an empty field.

// "check,steps,max_left,max_right,odi,left_0,...,left_11,right_0,...,right_11\n"
std::string CheckTableHeader();

// check counts from 1; trainedSteps are the session's so far. The maxima are those of log.txt's
// latest line (the probe at the last logged step), empty with the dominance before any.
std::string CheckTableRow(int check, std::uint64_t trainedSteps,
                          const std::optional<EyeMaxima>& logged,
                          const std::vector<ListingRow>& rows);
