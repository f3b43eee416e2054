#include "EnsembleSummary.h"

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
  return header + "generator,seed," + CheckTableHeader();
}

// The unit's columns before its checks: its listed parameters' exact values, its generator and
// its seed.
std::string UnitColumns(const BatchOptions& options, std::size_t index) {
  const EnsemblePlan& plan = options.ensemble->plan;
  const EnsembleUnit unit = plan.Unit(index);
  const Parameters parameters = plan.ParametersOf(unit, options.parameters);
  std::string columns;
  for (const ListedParameter& listed : plan.Listed())
    columns += listed.option->get(parameters) + ',';
  return columns + std::string(runtime::GeneratorName(unit.generator)) + ',' +
         std::to_string(unit.seed) + ',';
}
}  // namespace

bool WriteEnsembleSummary(const BatchOptions& options, const std::vector<bool>& complete,
                          std::vector<std::string>& damaged, std::string& error) {
  std::string summary = HeaderOf(options.ensemble->plan);
  for (std::size_t index = 0; index < complete.size(); ++index) {
    if (!complete[index]) continue;
    const std::string path = UnitFolder(options, index) + "/" + kCheckTableName;
    const runtime::Read<std::vector<std::string>> rows = ReadCheckRowsFile(path);
    if (!rows) {
      damaged.push_back(path + ": " + rows.Error());
      continue;
    }
    const std::string columns = UnitColumns(options, index);
    for (const std::string& row : *rows) summary.append(columns).append(row);
  }
  return runtime::WriteWholeFile(options.directory + "/" + kSummaryName, summary, error);
}
