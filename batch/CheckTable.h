#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Probe.h"
#include "Read.h"

// checks.csv in a unit's folder: one row per Check It Out with the exact numbers its listing
// shows to five decimals, for the ensemble's summary. Numbers are the shortest text that reads
// back exactly, with a full stop; a dominance that does not exist is an empty field. This is the
// format's one owner: its header, its rows and their strict reader.

// "check,steps,max_left,max_right,odi,left_0,...,left_11,right_0,...,right_11\n"
std::string CheckTableHeader();

// check counts from 1; trainedSteps are the session's so far. The maxima are those of log.txt's
// latest line (the probe at the last logged step), empty with the dominance before any.
std::string CheckTableRow(int check, std::uint64_t trainedSteps,
                          const std::optional<EyeMaxima>& logged,
                          const std::vector<ListingRow>& rows);

// The rows of checks.csv text, each with its newline, checked whole: the header, then whole rows
// numbered 1, 2, ..., each exactly as CheckTableRow writes the numbers it holds. Else the first
// fault, in one line. Never throws.
runtime::Read<std::vector<std::string>> ReadCheckRows(std::string_view text);

// The same for the file at path; the reason does not name the file, which the caller knows.
runtime::Read<std::vector<std::string>> ReadCheckRowsFile(const std::string& path);
