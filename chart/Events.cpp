#include "Events.h"

#include <algorithm>

std::vector<EyeClosure> JoinedClosures(const std::vector<EyeClosure>& closures, Eye eye) {
  std::vector<EyeClosure> mine;
  for (const EyeClosure& closure : closures) {
    if (closure.eye == eye && closure.toSteps > closure.fromSteps) mine.push_back(closure);
  }
  std::sort(mine.begin(), mine.end(),
            [](const EyeClosure& a, const EyeClosure& b) { return a.fromSteps < b.fromSteps; });
  std::vector<EyeClosure> joined;
  for (const EyeClosure& closure : mine) {
    if (!joined.empty() && closure.fromSteps <= joined.back().toSteps) {
      joined.back().toSteps = std::max(joined.back().toSteps, closure.toSteps);
    } else {
      joined.push_back(closure);
    }
  }
  return joined;
}

void IncludeEvents(Extent& steps, const SessionEvents& events) {
  for (const EyeClosure& closure : events.closures) {
    steps.Include(static_cast<double>(closure.fromSteps));
    steps.Include(static_cast<double>(closure.toSteps));
  }
  for (const std::int64_t reset : events.resets) steps.Include(static_cast<double>(reset));
}
