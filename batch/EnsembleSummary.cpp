#include "EnsembleSummary.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

#include "CheckTable.h"
#include "EnsembleUnitRun.h"
#include "LogNames.h"
#include "Random.h"
#include "RegularFile.h"
#include "WholeFile.h"

namespace {
// A million units of a few checks each, with room to spare.
constexpr std::size_t kMaxSummaryBytes = std::size_t{4} << 30;

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

std::string ColumnName(const ParameterOption& option) {
  std::string name(option.name);
  for (char& c : name) c = c == '-' ? '_' : c;
  return name;
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
    if (option.kind != ValueKind::kWord || ColumnName(option) != column) continue;
    Parameters probe;
    return WordCheck{option.set(probe, field), option.valid};
  }
  return std::nullopt;
}

std::string HeaderOf(const EnsemblePlan& plan) {
  std::string header;
  for (const ListedParameter& listed : plan.Listed()) header += ColumnName(*listed.option) + ',';
  header += "generator,seed,diverged_at," + CheckTableHeader();
  if (!plan.Protocols().empty()) header.insert(header.size() - 1, ",protocol");
  return header;
}

// A check table row with the unit's protocol, if it has one, at its end.
std::string WithProtocol(std::string row, const EnsembleUnit& unit) {
  if (unit.protocol) row.insert(row.size() - 1, "," + unit.protocol->name);
  return row;
}

// The unit's columns before its checks: its listed parameters' exact values, its generator, its
// seed and where it diverged.
std::string UnitColumns(const BatchOptions& options, std::size_t index,
                        const std::optional<std::uint64_t>& divergedAt) {
  const EnsemblePlan& plan = options.ensemble->plan;
  const EnsembleUnit unit = plan.Unit(index);
  const Parameters parameters = plan.ParametersOf(unit, options.parameters);
  std::string columns;
  for (const ListedParameter& listed : plan.Listed())
    columns += listed.option->get(parameters) + ',';
  return columns + std::string(runtime::GeneratorName(unit.generator)) + ',' +
         std::to_string(unit.seed) + ',' + (divergedAt ? std::to_string(*divergedAt) : "") + ',';
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
    const EnsembleUnit unit = options.ensemble->plan.Unit(index);
    for (const std::string& row : *rows) summary.append(columns).append(WithProtocol(row, unit));
    if (rows->empty() && units.divergedAt[index]) {
      summary.append(columns).append(WithProtocol(NoChecks(), unit));
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
      if (!ReadNumber(fields[column], value)) {
        return runtime::Unreadable{where + ": " + table.names[column] + " is not a number"};
      }
      table.columns[column].push_back(value);
    }
    start = end + 1;
  }
  return table;
}

runtime::Read<SummaryTable> ReadEnsembleSummaryFile(const std::string& path) {
  return runtime::ReadFileWith(ReadEnsembleSummary, path, kMaxSummaryBytes, "an ensemble summary");
}
