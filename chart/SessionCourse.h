#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Course.h"
#include "Parameters.h"
#include "RunLogs.h"
#include "RunRecord.h"

// A session's course for a chart, from what the session records: its course rows and the events
// of its run.json.

CoursePoint PointOf(const RunLogs::CourseRow& row);

// The closed-eye bands and the markers of Reset Weights and of loaded states in the events, bands
// still open at end running to it.
SessionEvents EventsOf(const std::vector<RunRecord::Event>& events, std::int64_t end);

// What the course came from, "seed S" or the states loaded ("state FILE", "seed S, then state
// FILE"), and the parameters that differ from the defaults.
std::string CaptionOf(std::uint32_t seed, const Parameters& parameters,
                      const std::vector<RunRecord::Event>& events = {});
