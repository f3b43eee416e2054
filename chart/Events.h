#pragma once

#include <vector>

#include "AxisTicks.h"
#include "Course.h"

// The closures of one eye, sorted, with overlapping or touching ones joined into one: a band
// drawn once, labelled once.
std::vector<EyeClosure> JoinedClosures(const std::vector<EyeClosure>& closures, Eye eye);

// The spans in which exactly these eyes were closed (left, right, or both), in step order, each
// as long as it lasts.
std::vector<EyeClosure> ClosedSpans(const SessionEvents& events, bool left, bool right);

// Widens steps to take in every closure and reset, so that none falls off the step axis.
void IncludeEvents(Extent& steps, const SessionEvents& events);

// The events as a chart over steps from..to shows them: closures cut at its edges, the marks
// outside it left out, so that nothing is drawn or labelled beyond the frame.
SessionEvents EventsWithin(const SessionEvents& events, const Extent& steps);
