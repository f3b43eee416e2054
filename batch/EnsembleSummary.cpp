#include "EnsembleSummary.h"

#include <algorithm>

#include "CheckTable.h"
#include "EnsembleUnitRun.h"
#include "LogNames.h"
#include "WholeFile.h"

namespace {
std::string HeaderOf(const EnsemblePlan& plan) {
  std::string header;
  for (const ListedParameter& listed : plan.Listed()) {
    std::string name(listed.option->name);
    for (char& c : name) c = c == '-' ? '_' : c;
    header += name + ',';
  }
  return header + "seed,diverged_at," + CheckTableHeader();
}

// The unit's columns before its checks: its listed parameters' exact values, its seed and where
// it diverged.
std::string UnitColumns(const BatchOptions& options, std::size_t index,
                        const std::optional<std::uint64_t>& divergedAt) {
  const EnsemblePlan& plan = options.ensemble->plan;
  const EnsembleUnit unit = plan.Unit(index);
  const Parameters parameters = plan.ParametersOf(unit, options.parameters);
  std::string columns;
  for (const ListedParameter& listed : plan.Listed())
    columns += listed.option->get(parameters) + ',';
  return columns + std::to_string(unit.seed) + ',' +
         (divergedAt ? std::to_string(*divergedAt) : "") + ',';
}

// A check table row of empty fields.
std::string NoChecks() {
  const std::string header = CheckTableHeader();
  return std::string(static_cast<std::size_t>(std::count(header.begin(), header.end(), ',')), ',') +
         '\n';
}
}  // namespace

bool WriteEnsembleSummary(const BatchOptions& options, const UnitStates& units,
                          std::vector<std::string>& damaged, std::string& error) {
  std::string summary = HeaderOf(options.ensemble->plan);
  for (std::size_t index = 0; index < units.complete.size(); ++index) {
    if (!units.complete[index]) continue;
    const std::string path = UnitFolder(options, index) + "/" + kCheckTableName;
    const runtime::Read<std::vector<std::string>> rows = ReadCheckRowsFile(path);
    if (!rows) {
      damaged.push_back(path + ": " + rows.Error());
      continue;
    }
    const std::string columns = UnitColumns(options, index, units.divergedAt[index]);
    for (const std::string& row : *rows) summary.append(columns).append(row);
    if (rows->empty() && units.divergedAt[index]) summary.append(columns).append(NoChecks());
  }
  return runtime::WriteWholeFile(options.directory + "/" + kSummaryName, summary, error);
}
