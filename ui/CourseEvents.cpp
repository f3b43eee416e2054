#include "CourseEvents.h"

#include <optional>

namespace {
// Tracks one eye's box: a closure begins when it is unticked and ends when ticked again.
struct EyeTrack {
  Eye eye;
  std::optional<std::int64_t> closedAt;

  void Note(bool ticked, std::int64_t at, std::vector<EyeClosure>& closures) {
    if (!ticked && !closedAt) closedAt = at;
    if (ticked && closedAt) {
      closures.push_back({*closedAt, at, eye});
      closedAt.reset();
    }
  }
};
}  // namespace

SessionEvents CourseEvents(const std::vector<RunRecord::Event>& events, std::uint64_t now) {
  SessionEvents course;
  EyeTrack left{Eye::Left, {}}, right{Eye::Right, {}};
  for (const RunRecord::Event& event : events) {
    const auto at = static_cast<std::int64_t>(event.at);
    if (event.kind == "eyes") {
      left.Note(event.left, at, course.closures);
      right.Note(event.right, at, course.closures);
    } else if (event.kind == "reset") {
      course.resets.push_back(at);
    }
  }
  left.Note(true, static_cast<std::int64_t>(now), course.closures);
  right.Note(true, static_cast<std::int64_t>(now), course.closures);
  return course;
}
