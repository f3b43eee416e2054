#include "EnsembleFigureFile.h"

#include <algorithm>

#include "CoincidingLines.h"
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

// The logged steps a unit's run.json records: each run from its start to the next one's, the last
// to the end of the script, one row every log-every steps; none when run.json cannot tell.
std::optional<std::size_t> RecordedRows(const BatchOptions& options, std::size_t index,
                                        const std::string& folder) {
  const auto events = ReadRunEventsFile(folder + "/" + kRunRecordName);
  if (!events) return std::nullopt;
  const EnsemblePlan& plan = options.ensemble->plan;
  std::int64_t logEvery = plan.ParametersOf(plan.Unit(index), options.parameters).logEvery;
  std::vector<std::pair<std::int64_t, std::int64_t>> runs;  // start, log-every
  for (const RunRecord::Event& event : *events) {
    if (event.parameters) logEvery = event.parameters->logEvery;
    if (event.kind == "run") runs.emplace_back(static_cast<std::int64_t>(event.at), logEvery);
  }
  std::int64_t rows = 0;
  for (std::size_t run = 0; run < runs.size(); ++run) {
    const std::int64_t end =
        run + 1 < runs.size() ? runs[run + 1].first : ScriptSteps(UnitActions(options, index));
    rows += LoggedSteps(end - runs[run].first, runs[run].second);
  }
  return static_cast<std::size_t>(rows);
}

// The course of a unit; none when it has none (the ensemble was made with --no-record). A course
// shorter than its run.json says lost its end: drawn, it would cut its group's line short.
std::optional<std::vector<CourseRow>> CourseOfUnit(const BatchOptions& options, std::size_t index,
                                                   EnsembleFigureDamage& damage) {
  if (!options.record) return std::vector<CourseRow>();
  const std::string folder = UnitFolder(options, index);
  const std::string path = folder + "/" + kCourseName;
  runtime::Read<std::vector<CourseRow>> course = course_csv::ReadRowsFile(path);
  if (!course) {
    damage.courses.push_back(path + ": " + course.Error());
    return std::nullopt;
  }
  const std::optional<std::size_t> recorded = RecordedRows(options, index, folder);
  if (recorded && course->size() != *recorded) {
    damage.courses.push_back(path + ": " + std::to_string(course->size()) + " rows, where " +
                             kRunRecordName + " records " + std::to_string(*recorded) +
                             " logged steps");
    return std::nullopt;
  }
  return *std::move(course);
}

// "20 seeds per line" when every unit is drawn; else the range of the lines' seeds and how many
// units the figure leaves out ("18–20 seeds per line (3 left out, 2 of them diverged)").
std::string SeedsPerLine(const std::vector<std::size_t>& drawn, std::size_t units,
                         std::size_t diverged) {
  const auto [fewest, most] = std::minmax_element(drawn.begin(), drawn.end());
  std::size_t missing = units;
  for (const std::size_t count : drawn) missing -= count;
  const std::string range = *fewest == *most
                                ? std::to_string(*most)
                                : std::to_string(*fewest) + "\u2013" + std::to_string(*most);
  const std::string why = diverged == 0 ? ""
                          : diverged == missing
                              ? ", diverged"
                              : ", " + std::to_string(diverged) + " of them diverged";
  return range + (*most == 1 ? " seed" : " seeds") + " per line" +
         (missing == 0 ? "" : " (" + std::to_string(missing) + " left out" + why + ")");
}

std::string EnsembleCaption(const BatchOptions& options, const std::vector<std::size_t>& drawn,
                            std::size_t diverged, const std::string& coinciding) {
  const EnsemblePlan& plan = options.ensemble->plan;
  Parameters fixed = options.parameters;
  for (const ListedParameter& listed : plan.Listed()) {
    listed.option->set(fixed, listed.option->get(Parameters{}));
  }
  const std::string changed = NonDefaultParameters(fixed);
  return SeedsPerLine(drawn, plan.Units(), diverged) + ", mean \u00b1 SD" +
         (coinciding.empty() ? "" : "; " + coinciding) + (changed.empty() ? "" : "  " + changed);
}
}  // namespace

EnsembleCourse EnsembleCourseOf(const BatchOptions& options, const UnitStates& units,
                                EnsembleFigureDamage& damage) {
  const EnsemblePlan& plan = options.ensemble->plan;
  EnsembleCourse ensemble;
  std::vector<std::string> lineFolders;  // the last unit of each line, for its eye closures
  std::vector<std::size_t> drawn;        // units per line
  for (std::size_t group = 0; group < plan.Groups(); ++group) {
    CourseSpreads spreads;
    std::size_t lineUnits = 0;
    std::string lineFolder;
    for (std::size_t seed = 0; seed < plan.SeedsPerGroup(); ++seed) {
      const std::size_t index = group * plan.SeedsPerGroup() + seed;
      if (!units.complete[index] || units.divergedAt[index]) continue;
      lineFolder = UnitFolder(options, index);
      if (const auto course = CourseOfUnit(options, index, damage)) {
        spreads.Add(*course);
        ++lineUnits;
      }
    }
    if (spreads.Empty()) continue;
    lineFolders.push_back(lineFolder);
    drawn.push_back(lineUnits);
    const std::string name = plan.GroupName(group);
    ensemble.groups.push_back({name.empty() ? "all seeds" : name, spreads.Points(), group});
  }
  if (ensemble.groups.empty()) return ensemble;
  std::int64_t end = ScriptSteps(options);
  for (const EnsembleGroup& group : ensemble.groups) {
    if (!group.points.empty()) end = std::max(end, group.points.back().totalSteps);
  }
  std::string notes = CoincidingLinesNote(ensemble.groups);
  ensemble.events = EventsOfUnit(options, lineFolders.back(), end, damage);
  // Protocols close different eyes at different steps: one line's shading would mislabel the rest.
  for (const std::string& folder : lineFolders) {
    if (EventsOfUnit(options, folder, end, damage) == ensemble.events) continue;
    ensemble.events = {};
    notes = "the lines close different eyes: no shading" + (notes.empty() ? "" : "; " + notes);
    break;
  }
  ensemble.caption = EnsembleCaption(options, drawn, units.Diverged(), notes);
  return ensemble;
}
