#include "EnsembleSummary.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "CheckTable.h"
#include "EnsembleUnitRun.h"
#include "LogNames.h"
#include "RegularFile.h"
#include "WholeFile.h"

namespace {
// Far beyond the rows of any run a unit plays; a file larger still is not a unit's.
constexpr std::size_t kMaxCheckTableBytes = std::size_t{1} << 30;

std::string HeaderOf(const EnsemblePlan& plan) {
  std::string header;
  for (const ListedParameter& listed : plan.Listed()) {
    std::string name(listed.option->name);
    for (char& c : name) c = c == '-' ? '_' : c;
    header += name + ',';
  }
  return header + "seed," + CheckTableHeader();
}

// The unit's columns before its checks: its listed parameters' exact values and its seed.
std::string UnitColumns(const BatchOptions& options, std::size_t index) {
  const EnsemblePlan& plan = options.ensemble->plan;
  const EnsembleUnit unit = plan.Unit(index);
  const Parameters parameters = plan.ParametersOf(unit, options.parameters);
  std::string columns;
  for (const ListedParameter& listed : plan.Listed())
    columns += listed.option->get(parameters) + ',';
  return columns + std::to_string(unit.seed) + ',';
}

// Appends the rows of a unit's checks.csv to summary, each after columns; false, appending
// nothing, with the reason in problem when the file is not the table a unit writes (a later edit,
// a damaged disk).
bool AppendCheckRows(const std::string& path, const std::string& columns, std::string& summary,
                     std::string& problem) {
  const std::optional<std::string> text =
      runtime::ReadRegularFile(path, kMaxCheckTableBytes, "a check table", problem);
  if (!text) return false;
  const std::string header = CheckTableHeader();
  if (text->rfind(header, 0) != 0) {
    problem = "does not start with the check table's header";
    return false;
  }
  const auto fields = std::count(header.begin(), header.end(), ',');
  std::string rows;
  std::size_t start = header.size(), number = 2;
  for (std::size_t end; start < text->size(); start = end + 1, ++number) {
    end = text->find('\n', start);
    const std::string_view row = std::string_view(*text).substr(start, end - start);
    if (end == std::string::npos || std::count(row.begin(), row.end(), ',') != fields) {
      problem = "line " + std::to_string(number) + " is not a whole row of the check table";
      return false;
    }
    rows.append(columns).append(row).push_back('\n');
  }
  summary += rows;
  return true;
}
}  // namespace

bool WriteEnsembleSummary(const BatchOptions& options, const std::vector<bool>& complete,
                          std::vector<std::string>& damaged, std::string& error) {
  std::string summary = HeaderOf(options.ensemble->plan);
  for (std::size_t index = 0; index < complete.size(); ++index) {
    if (!complete[index]) continue;
    const std::string path = UnitFolder(options, index) + "/" + kCheckTableName;
    std::string problem;
    if (!AppendCheckRows(path, UnitColumns(options, index), summary, problem)) {
      damaged.push_back(path + " " + problem);
    }
  }
  return runtime::WriteWholeFile(options.directory + "/" + kSummaryName, summary, error);
}
