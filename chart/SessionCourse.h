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

// The closed-eye bands and the reset markers (Reset Weights and loaded states) of the events,
// bands still open at end running to it.
SessionEvents EventsOf(const std::vector<RunRecord::Event>& events, std::int64_t end);

// "seed S" and the parameters that differ from the defaults.
std::string CaptionOf(std::uint32_t seed, const Parameters& parameters);
