#pragma once

#include <cstdint>
#include <vector>

#include "Course.h"
#include "RunRecord.h"

// The eye closures and resets among a session's recorded events, as the course chart marks them;
// a closure still going on reaches `now`, the session's steps so far.
SessionEvents CourseEvents(const std::vector<RunRecord::Event>& events, std::uint64_t now);
