#include "EnsembleFigureFile.h"

#include "CourseChart.h"
#include "CourseCsv.h"
#include "CourseSpreads.h"
#include "EnsembleUnitRun.h"
#include "LogNames.h"
#include "SessionCourse.h"

namespace {
// The eye closures and resets of a unit's session, from its run.json; none when it has none (the
// ensemble was made with --no-record) or it is damaged, which costs the figure only its markers.
SessionEvents EventsOfUnit(const BatchOptions& options, const std::string& folder, std::int64_t end,
                           EnsembleFigureDamage& damage) {
  if (!options.record) return {};
  const std::string path = folder + "/" + kRunRecordName;
  const runtime::Read<std::vector<RunRecord::Event>> events = ReadRunEventsFile(path);
  if (!events) {
    damage.events = path + ": " + events.Error();
    return {};
  }
  return EventsOf(*events, end);
}

// The course of a unit; none when it has none (the ensemble was made with --no-record).
std::optional<std::vector<CourseRow>> CourseOfUnit(const BatchOptions& options,
                                                   const std::string& folder,
                                                   EnsembleFigureDamage& damage) {
  if (!options.record) return std::vector<CourseRow>();
  const std::string path = folder + "/" + kCourseName;
  runtime::Read<std::vector<CourseRow>> course = course_csv::ReadRowsFile(path);
  if (!course) {
    damage.courses.push_back(path + ": " + course.Error());
    return std::nullopt;
  }
  return *std::move(course);
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

EnsembleCourse EnsembleCourseOf(const BatchOptions& options, const std::vector<bool>& complete,
                                EnsembleFigureDamage& damage) {
  const EnsemblePlan& plan = options.ensemble->plan;
  EnsembleCourse ensemble;
  std::string anyFolder;
  for (std::size_t group = 0; group < plan.Groups(); ++group) {
    CourseSpreads spreads;
    for (std::size_t seed = 0; seed < plan.SeedsPerGroup(); ++seed) {
      const std::size_t index = group * plan.SeedsPerGroup() + seed;
      if (!complete[index]) continue;
      anyFolder = UnitFolder(options, index);
      if (const auto course = CourseOfUnit(options, anyFolder, damage)) spreads.Add(*course);
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
  ensemble.events = EventsOfUnit(options, anyFolder, end, damage);
  ensemble.caption = EnsembleCaption(options);
  return ensemble;
}

bool WriteEnsembleFigure(const BatchOptions& options, const std::vector<bool>& complete,
                         EnsembleFigureDamage& damage, std::string& error) {
  const EnsembleCourse ensemble = EnsembleCourseOf(options, complete, damage);
  if (ensemble.groups.empty()) return true;
  const std::string path = options.directory + "/course." + options.ensemble->courseFormat;
  return WriteEnsembleChart(ensemble, path, options.courseWidth, options.courseHeight, error);
}
