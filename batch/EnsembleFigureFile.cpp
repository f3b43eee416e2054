#include "EnsembleFigureFile.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>

#include "CourseChart.h"
#include "EnsembleUnitRun.h"
#include "SessionCourse.h"

namespace {
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// The course.csv columns a figure needs.
enum Column : std::size_t { kTrainedSteps = 2, kMaxLeft = 5, kMaxRight = 6, kDominance = 7 };

double NumberAt(const std::vector<std::string>& fields, std::size_t column) {
  double value = kMissing;
  if (column >= fields.size()) return value;
  const std::string& text = fields[column];
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::vector<CoursePoint> ReadCourse(const std::string& folder) {
  std::ifstream in(folder + "/course.csv", std::ios::binary);
  std::vector<CoursePoint> points;
  std::string line;
  std::getline(in, line);  // its header
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos;
         start = comma + 1) {
      fields.push_back(line.substr(start, comma - start));
    }
    fields.push_back(line.substr(start));
    points.push_back({static_cast<std::int64_t>(NumberAt(fields, kTrainedSteps)),
                      NumberAt(fields, kMaxLeft), NumberAt(fields, kMaxRight), 0.0,
                      NumberAt(fields, kDominance)});
  }
  return points;
}

// Mean and sample standard deviation of the values that exist; a lone value has no spread.
Spread SpreadOf(const std::vector<double>& values) {
  double sum = 0.0, squares = 0.0;
  std::size_t count = 0;
  for (const double value : values) {
    if (std::isnan(value)) continue;
    sum += value;
    ++count;
  }
  if (count == 0) return {kMissing, kMissing};
  const double mean = sum / static_cast<double>(count);
  for (const double value : values) {
    if (!std::isnan(value)) squares += (value - mean) * (value - mean);
  }
  return {mean, count > 1 ? std::sqrt(squares / static_cast<double>(count - 1)) : 0.0};
}

// Row by row over the units' courses; as long as the shortest.
std::vector<EnsemblePoint> Average(const std::vector<std::vector<CoursePoint>>& courses) {
  std::size_t rows = courses.front().size();
  for (const auto& course : courses) rows = std::min(rows, course.size());
  std::vector<EnsemblePoint> points;
  for (std::size_t row = 0; row < rows; ++row) {
    std::vector<double> left, right, dominance;
    for (const auto& course : courses) {
      left.push_back(course[row].maxLeft);
      right.push_back(course[row].maxRight);
      dominance.push_back(course[row].odi);
    }
    points.push_back(
        {courses.front()[row].totalSteps, SpreadOf(left), SpreadOf(right), SpreadOf(dominance)});
  }
  return points;
}

// The eye closures and resets of a unit's session, from its run.json.
SessionEvents EventsOfUnit(const std::string& folder, std::int64_t end) {
  std::ifstream in(folder + "/run.json", std::ios::binary);
  const nlohmann::json record = nlohmann::json::parse(in, nullptr, false);
  std::vector<RunRecord::Event> events;
  if (!record.is_object() || !record.contains("events")) return {};
  for (const nlohmann::json& event : record["events"]) {
    events.push_back({event.value("at", std::uint64_t{0}), event.value("event", ""), 0,
                      event.value("left", true), event.value("right", true), ""});
  }
  return EventsOf(events, end);
}

std::int64_t ScriptSteps(const BatchOptions& options) {
  std::int64_t steps = 0;
  for (const Action& action : options.actions) steps += action.steps;
  return steps;
}

std::string EnsembleCaption(const BatchOptions& options) {
  const EnsemblePlan& plan = options.ensemble->plan;
  Parameters fixed = options.parameters;
  for (const ListedParameter& listed : plan.Listed()) {
    listed.option->set(fixed, listed.option->get(Parameters{}));
  }
  const std::string changed = NonDefaultParameters(fixed);
  return std::to_string(plan.SeedsPerGroup()) + " seeds per line, mean \u00b1 SD" +
         (changed.empty() ? "" : "  " + changed);
}
}  // namespace

EnsembleCourse EnsembleCourseOf(const BatchOptions& options) {
  const EnsemblePlan& plan = options.ensemble->plan;
  EnsembleCourse ensemble;
  std::string anyFolder;
  for (std::size_t group = 0; group < plan.Groups(); ++group) {
    std::vector<std::vector<CoursePoint>> courses;
    for (std::size_t seed = 0; seed < plan.SeedsPerGroup(); ++seed) {
      const std::string folder = UnitFolder(options, group * plan.SeedsPerGroup() + seed);
      if (!UnitComplete(folder)) continue;
      courses.push_back(ReadCourse(folder));
      anyFolder = folder;
    }
    if (courses.empty()) continue;
    const std::string name = plan.GroupName(group);
    ensemble.groups.push_back({name.empty() ? "all seeds" : name, Average(courses)});
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

bool WriteEnsembleFigure(const BatchOptions& options, std::string& error) {
  const EnsembleCourse ensemble = EnsembleCourseOf(options);
  if (ensemble.groups.empty()) return true;
  const std::string path = options.directory + "/course." + options.ensemble->courseFormat;
  return WriteEnsembleChart(ensemble, path, options.courseWidth, options.courseHeight, error);
}
