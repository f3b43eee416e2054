#include "EnsembleFigureFile.h"

#include <nlohmann/json.hpp>

#include "CourseChart.h"
#include "CourseSpreads.h"
#include "EnsembleUnitRun.h"
#include "LogNames.h"
#include "RegularFile.h"
#include "SessionCourse.h"

namespace {
// A run record lists a session's actions and events; far more than any script holds.
constexpr std::size_t kMaxRunRecordBytes = std::size_t{64} << 20;

// The eye closures and resets of a unit's session, from its run.json; none when it is unreadable,
// which only costs the figure its markers.
SessionEvents EventsOfUnit(const std::string& folder, std::int64_t end) {
  std::string problem;
  const std::optional<std::string> text = runtime::ReadRegularFile(
      folder + "/" + kRunRecordName, kMaxRunRecordBytes, "a run record", problem);
  if (!text) return {};
  const nlohmann::json record = nlohmann::json::parse(*text, nullptr, false);
  std::vector<RunRecord::Event> events;
  if (!record.is_object() || !record.contains("events")) return {};
  for (const nlohmann::json& event : record["events"]) {
    events.push_back({event.value("at", std::uint64_t{0}), event.value("event", ""), 0,
                      event.value("left", true), event.value("right", true), ""});
  }
  return EventsOf(events, end);
}

std::string EnsembleCaption(const BatchOptions& options) {
  const EnsemblePlan& plan = options.ensemble->plan;
  Parameters fixed = options.parameters;
  for (const ListedParameter& listed : plan.Listed()) {
    listed.option->set(fixed, listed.option->get(Parameters{}));
  }
  const std::string changed = NonDefaultParameters(fixed);
  const std::size_t seeds = plan.SeedsPerGroup();
  return std::to_string(seeds) + (seeds == 1 ? " seed" : " seeds") + " per line, mean \u00b1 SD" +
         (changed.empty() ? "" : "  " + changed);
}
}  // namespace

EnsembleCourse EnsembleCourseOf(const BatchOptions& options, const std::vector<bool>& complete) {
  const EnsemblePlan& plan = options.ensemble->plan;
  EnsembleCourse ensemble;
  std::string anyFolder;
  for (std::size_t group = 0; group < plan.Groups(); ++group) {
    CourseSpreads spreads;
    for (std::size_t seed = 0; seed < plan.SeedsPerGroup(); ++seed) {
      const std::size_t index = group * plan.SeedsPerGroup() + seed;
      if (!complete[index]) continue;
      const std::string folder = UnitFolder(options, index);
      spreads.AddUnit(folder);
      anyFolder = folder;
    }
    if (spreads.Empty()) continue;
    const std::string name = plan.GroupName(group);
    ensemble.groups.push_back({name.empty() ? "all seeds" : name, spreads.Points()});
  }
  if (ensemble.groups.empty()) return ensemble;
  std::int64_t end = ScriptSteps(options);
  for (const EnsembleGroup& group : ensemble.groups) {
    if (!group.points.empty()) end = std::max(end, group.points.back().totalSteps);
  }
  ensemble.events = EventsOfUnit(anyFolder, end);
  ensemble.caption = EnsembleCaption(options);
  return ensemble;
}

bool WriteEnsembleFigure(const BatchOptions& options, const std::vector<bool>& complete,
                         std::string& error) {
  const EnsembleCourse ensemble = EnsembleCourseOf(options, complete);
  if (ensemble.groups.empty()) return true;
  const std::string path = options.directory + "/course." + options.ensemble->courseFormat;
  return WriteEnsembleChart(ensemble, path, options.courseWidth, options.courseHeight, error);
}
