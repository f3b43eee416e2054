#include "Events.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

namespace {
bool Covered(const std::vector<EyeClosure>& closures, std::int64_t from, std::int64_t to) {
  return std::any_of(closures.begin(), closures.end(), [&](const EyeClosure& closure) {
    return closure.fromSteps <= from && to <= closure.toSteps;
  });
}
}  // namespace

std::vector<EyeClosure> ClosedSpans(const SessionEvents& events, bool left, bool right) {
  const std::vector<EyeClosure> lefts = JoinedClosures(events.closures, Eye::Left);
  const std::vector<EyeClosure> rights = JoinedClosures(events.closures, Eye::Right);
  std::vector<std::int64_t> edges;
  for (const auto* closures : {&lefts, &rights}) {
    for (const EyeClosure& closure : *closures)
      edges.insert(edges.end(), {closure.fromSteps, closure.toSteps});
  }
  std::sort(edges.begin(), edges.end());
  std::vector<EyeClosure> spans;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const std::int64_t from = edges[i], to = edges[i + 1];
    if (from == to || Covered(lefts, from, to) != left || Covered(rights, from, to) != right)
      continue;
    if (!spans.empty() && spans.back().toSteps == from) {
      spans.back().toSteps = to;
    } else {
      spans.push_back({from, to, left ? Eye::Left : Eye::Right});
    }
  }
  return spans;
}

void IncludeEvents(Extent& steps, const SessionEvents& events) {
  for (const EyeClosure& closure : events.closures) {
    steps.Include(static_cast<double>(closure.fromSteps));
    steps.Include(static_cast<double>(closure.toSteps));
  }
  for (const auto* marks : {&events.resets, &events.loads}) {
    for (const std::int64_t at : *marks) steps.Include(static_cast<double>(at));
  }
}

SessionEvents EventsWithin(const SessionEvents& events, const Extent& steps) {
  const auto from = static_cast<std::int64_t>(std::ceil(steps.low));
  const auto to = static_cast<std::int64_t>(std::floor(steps.high));
  SessionEvents within;
  for (EyeClosure closure : events.closures) {
    closure.fromSteps = std::max(closure.fromSteps, from);
    closure.toSteps = std::min(closure.toSteps, to);
    if (closure.toSteps > closure.fromSteps) within.closures.push_back(closure);
  }
  const auto marks = [from, to](const std::vector<std::int64_t>& all) {
    std::vector<std::int64_t> kept;
    std::copy_if(all.begin(), all.end(), std::back_inserter(kept),
                 [from, to](std::int64_t at) { return at >= from && at <= to; });
    return kept;
  };
  within.resets = marks(events.resets);
  within.loads = marks(events.loads);
  return within;
}
