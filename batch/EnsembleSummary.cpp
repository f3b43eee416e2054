#include "EnsembleSummary.h"

#include <algorithm>
#include <sstream>

#include "CheckTable.h"
#include "EnsembleUnitRun.h"
#include "RegularFile.h"
#include "StateError.h"
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

// The rows of a unit's checks.csv, each with its newline; "" with the reason in problem when the
// file is not the table a unit writes (a later edit, a damaged disk).
std::string CheckRows(const std::string& path, std::string& problem) {
  std::string text;
  try {
    text = ReadRegularFile(path, kMaxCheckTableBytes, "a check table");
  } catch (const StateError& error) {
    problem = error.what();
    return "";
  }
  const std::string header = CheckTableHeader();
  if (text.rfind(header, 0) != 0) {
    problem = "does not start with the check table's header";
    return "";
  }
  const auto fields = std::count(header.begin(), header.end(), ',');
  std::istringstream rows(text.substr(header.size()));
  std::string row;
  for (int number = 2; std::getline(rows, row); ++number) {
    if (rows.eof() || std::count(row.begin(), row.end(), ',') != fields) {
      problem = "line " + std::to_string(number) + " is not a whole row of the check table";
      return "";
    }
  }
  return text.substr(header.size());
}
}  // namespace

bool WriteEnsembleSummary(const BatchOptions& options, const std::vector<bool>& complete,
                          std::vector<std::string>& damaged, std::string& error) {
  std::string summary = HeaderOf(options.ensemble->plan);
  for (std::size_t index = 0; index < complete.size(); ++index) {
    if (!complete[index]) continue;
    const std::string path = UnitFolder(options, index) + "/checks.csv";
    std::string problem;
    const std::string rows = CheckRows(path, problem);
    if (!problem.empty()) {
      damaged.push_back(path + " " + problem);
      continue;
    }
    const std::string columns = UnitColumns(options, index);
    std::istringstream lines(rows);
    for (std::string line; std::getline(lines, line);) summary += columns + line + '\n';
  }
  return runtime::WriteWholeFile(options.directory + "/summary.csv", summary, error);
}
