#include "EnsembleSummary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "CheckTable.h"
#include "EnsembleColumns.h"
#include "EnsembleUnitRun.h"
#include "LogNames.h"
#include "NumberText.h"
#include "OcularDominance.h"
#include "Random.h"
#include "RegularFile.h"
#include "WholeFile.h"

namespace {
// A million units of a few checks each, with room to spare.
constexpr std::size_t kMaxSummaryBytes = std::size_t{4} << 30;
constexpr const char* kCheckColumn = "check";

std::vector<std::string_view> FieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool ReadNumber(std::string_view field, double& value) {
  if (field.empty()) {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

// For a column of words, whether field is one of them and what they are; nullopt for a column of
// numbers.
struct WordCheck {
  bool valid;
  std::string_view words;
};
std::optional<WordCheck> CheckWord(const std::string& column, std::string_view field) {
  if (column == "protocol") return WordCheck{!field.empty(), "a protocol's name"};
  if (column == "generator") {
    return WordCheck{runtime::GeneratorNamed(field).has_value(), "classic or pcg32"};
  }
  for (const ParameterOption& option : ParameterOptions()) {
    if (option.kind != ValueKind::kWord || ParameterColumn(option) != column) continue;
    Parameters probe;
    return WordCheck{option.set(probe, field), option.valid};
  }
  return std::nullopt;
}

bool IsListed(const EnsemblePlan& plan, const ParameterOption& option) {
  return std::any_of(plan.Listed().begin(), plan.Listed().end(),
                     [&](const ListedParameter& listed) { return listed.option == &option; });
}

// The parameters that are not listed, in the order of the parameter table: the listed ones come
// first, in columns that scripts already count on.
std::vector<const ParameterOption*> UnlistedOf(const EnsemblePlan& plan) {
  std::vector<const ParameterOption*> unlisted;
  for (const ParameterOption& option : ParameterOptions()) {
    if (!IsListed(plan, option)) unlisted.push_back(&option);
  }
  return unlisted;
}

// The protocol comes last, and only in an ensemble of protocols.
std::string HeaderOf(const EnsemblePlan& plan) {
  std::string checks = CheckTableHeader();
  checks.pop_back();
  std::string header = ListedHeader(plan) + "seed,diverged_at," + checks +
                       ",listing_max_left,listing_max_right,listing_odi";
  for (const ParameterOption* option : UnlistedOf(plan)) header += ',' + ParameterColumn(*option);
  return header + (plan.Protocols().empty() ? "\n" : ",protocol\n");
}

// The unit's columns before its checks: its listed parameters' exact values, its generator, its
// seed and where it diverged.
std::string UnitColumns(const BatchOptions& options, std::size_t index,
                        const std::optional<std::uint64_t>& divergedAt) {
  const EnsembleUnit unit = options.ensemble->plan.Unit(index);
  return ListedValues(options, index) + std::to_string(unit.seed) + ',' +
         (divergedAt ? std::to_string(*divergedAt) : "") + ',';
}

// A check's columns: checks.csv's row, then the largest responses of its listing and their
// dominance.
std::string CheckColumns(const CheckRow& row) {
  std::string columns = row.text.substr(0, row.text.size() - 1) + ',' +
                        runtime::ShortestText(row.listingMaxLeft) + ',' +
                        runtime::ShortestText(row.listingMaxRight) + ',';
  const double odi = OcularDominance(row.listingMaxLeft, row.listingMaxRight);
  return std::isnan(odi) ? columns : columns + runtime::ShortestText(odi);
}

// The check columns of a unit without a check: all empty.
std::string NoChecks() {
  const std::string header = CheckTableHeader();
  return std::string(static_cast<std::size_t>(std::count(header.begin(), header.end(), ',')), ',') +
         ",,,";
}

// The values of the parameters that are not listed, each after a comma.
std::string UnlistedColumns(const BatchOptions& options, std::size_t index) {
  const EnsemblePlan& plan = options.ensemble->plan;
  const Parameters parameters = plan.ParametersOf(plan.Unit(index), options.parameters);
  std::string columns;
  for (const ParameterOption* option : UnlistedOf(plan)) columns += ',' + option->get(parameters);
  return columns;
}
// The check column holds words when a check has a name, else numbers, as it did before names.
void KeepNumbersOrWords(SummaryTable& table) {
  for (std::size_t column = 0; column < table.names.size(); ++column) {
    if (table.names[column] != kCheckColumn) continue;
    const std::vector<std::string>& words = table.words[column];
    const bool named = std::any_of(words.begin(), words.end(), IsCheckName);
    if (named) {
      table.columns[column].clear();
    } else {
      table.words[column].clear();
    }
  }
}
}  // namespace

bool WriteEnsembleSummary(const BatchOptions& options, const UnitStates& units,
                          std::vector<std::string>& damaged, std::string& error) {
  std::string summary = HeaderOf(options.ensemble->plan);
  for (std::size_t index = 0; index < units.complete.size(); ++index) {
    if (!units.complete[index]) continue;
    const std::string path = UnitFolder(options, index) + "/" + kCheckTableName;
    const runtime::Read<std::vector<CheckRow>> rows = ReadCheckRowsFile(path);
    if (!rows) {
      damaged.push_back(path + ": " + rows.Error());
      continue;
    }
    const std::string columns = UnitColumns(options, index, units.divergedAt[index]);
    const EnsembleUnit unit = options.ensemble->plan.Unit(index);
    const std::string parameters =
        UnlistedColumns(options, index) + (unit.protocol ? "," + unit.protocol->name : "") + '\n';
    for (const CheckRow& row : *rows) {
      summary.append(columns).append(CheckColumns(row)).append(parameters);
    }
    if (rows->empty() && units.divergedAt[index]) {
      summary.append(columns).append(NoChecks()).append(parameters);
    }
  }
  return runtime::WriteWholeFile(options.directory + "/" + kSummaryName, summary, error);
}

runtime::Read<SummaryTable> ReadEnsembleSummary(std::string_view text) {
  const std::size_t headerEnd = text.find('\n');
  if (headerEnd == std::string_view::npos) return runtime::Unreadable{"no header line"};
  SummaryTable table;
  for (std::string_view name : FieldsOf(text.substr(0, headerEnd))) table.names.emplace_back(name);
  table.columns.resize(table.names.size());
  table.words.resize(table.names.size());
  std::size_t number = 2;
  for (std::size_t start = headerEnd + 1; start < text.size(); ++number) {
    const std::size_t end = text.find('\n', start);
    const std::string where = "line " + std::to_string(number);
    if (end == std::string_view::npos) return runtime::Unreadable{where + " is cut short"};
    const std::vector<std::string_view> fields = FieldsOf(text.substr(start, end - start));
    if (fields.size() != table.names.size()) {
      return runtime::Unreadable{where + ": " + std::to_string(fields.size()) + " fields, not " +
                                 std::to_string(table.names.size())};
    }
    for (std::size_t column = 0; column < fields.size(); ++column) {
      if (const std::optional<WordCheck> word = CheckWord(table.names[column], fields[column])) {
        if (!word->valid) {
          return runtime::Unreadable{where + ": " + table.names[column] + " is not " +
                                     std::string(word->words)};
        }
        table.words[column].emplace_back(fields[column]);
        continue;
      }
      double value = 0.0;
      const bool numeric = ReadNumber(fields[column], value);
      if (table.names[column] == kCheckColumn) {
        if (!numeric && !IsCheckName(fields[column])) {
          return runtime::Unreadable{where + ": check is neither a number nor a check's name"};
        }
        table.words[column].emplace_back(fields[column]);
      } else if (!numeric) {
        return runtime::Unreadable{where + ": " + table.names[column] + " is not a number"};
      }
      table.columns[column].push_back(value);
    }
    start = end + 1;
  }
  KeepNumbersOrWords(table);
  return table;
}

runtime::Read<SummaryTable> ReadEnsembleSummaryFile(const std::string& path) {
  return runtime::ReadFileWith(ReadEnsembleSummary, path, kMaxSummaryBytes, "an ensemble summary");
}
