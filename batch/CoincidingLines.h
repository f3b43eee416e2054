#pragma once

#include <string>
#include <vector>

#include "Course.h"

// Two groups whose rows are the same, number for number, from the first row on are drawn one line
// over the other, and only the one drawn last shows: combinations that differ only in what comes
// later (a closed eye's noise) do so until it comes. Names them for the caption, the first label
// whole and the others by what differs ("closed-noise=0, 0.05 and 0.1 coincide before step
// 200,001"), phrases joined by "; "; "" when no two groups share a stretch of line.
std::string CoincidingLinesNote(const std::vector<EnsembleGroup>& groups);
