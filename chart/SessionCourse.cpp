#include "SessionCourse.h"

#include <optional>

CoursePoint PointOf(const RunLogs::CourseRow& row) {
  return {static_cast<std::int64_t>(row.trainedSteps), row.maxLeft, row.maxRight, row.theta,
          OcularDominance(DrawnResponse(row.maxLeft), DrawnResponse(row.maxRight))};
}

SessionEvents EventsOf(const std::vector<RunRecord::Event>& events, std::int64_t end) {
  SessionEvents session;
  std::optional<std::int64_t> leftClosed, rightClosed;
  auto track = [&session](std::optional<std::int64_t>& closedSince, bool open, std::int64_t at,
                          Eye eye) {
    if (!open && !closedSince) closedSince = at;
    if (open && closedSince) {
      if (at > *closedSince) session.closures.push_back({*closedSince, at, eye});
      closedSince.reset();
    }
  };
  for (const RunRecord::Event& event : events) {
    const auto at = static_cast<std::int64_t>(event.at);
    if (event.kind == "eyes") {
      track(leftClosed, event.left, at, Eye::Left);
      track(rightClosed, event.right, at, Eye::Right);
    } else if (event.kind == "reset") {
      session.resets.push_back(at);
    } else if (event.kind == "load") {
      session.loads.push_back(at);
    }
  }
  track(leftClosed, true, end, Eye::Left);
  track(rightClosed, true, end, Eye::Right);
  return session;
}

std::string CaptionOf(std::uint32_t seed, const Parameters& parameters,
                      const std::vector<RunRecord::Event>& events) {
  std::string caption;
  for (const RunRecord::Event& event : events) {
    if (event.kind != "load") continue;
    // Loaded before the first step, the state's generator decides everything, not the seed.
    if (caption.empty() && event.at > 0) caption = "seed " + std::to_string(seed) + ", then ";
    caption += (caption.empty() || caption.back() == ' ' ? "state " : ", state ") + event.file;
  }
  if (caption.empty()) caption = "seed " + std::to_string(seed);
  const std::string changed = NonDefaultParameters(parameters);
  return caption + (changed.empty() ? "" : "  " + changed);
}
