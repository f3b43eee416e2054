#include "CheckTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Course.h"
#include "NumberText.h"
#include "RegularFile.h"

namespace {
// The listing's positions, one column of each eye's response at each.
constexpr std::size_t kPositions = 12;
// Far beyond the rows of any run a unit plays; a file larger still is not a unit's.
constexpr std::size_t kMaxCheckTableBytes = std::size_t{1} << 30;
// check, steps, the logged maxima and their dominance, then each eye's responses.
constexpr std::size_t kListingColumns = 5 + 2 * kPositions;
// theta and the two mean weights.
constexpr std::size_t kStateColumns = 3;

std::string EyeColumns(const char* eye, std::size_t count) {
  std::string columns;
  for (std::size_t i = 0; i < count; ++i) columns += std::string(",") + eye + std::to_string(i);
  return columns;
}

template <class Number>
bool Parse(std::string_view field, Number& value) {
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

std::vector<std::string_view> FieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t comma; (comma = line.find(',')) != std::string_view::npos;) {
    fields.push_back(line.substr(0, comma));
    line.remove_prefix(comma + 1);
  }
  fields.push_back(line);
  return fields;
}

// The columns before the moment's threshold and mean weights, which a table of an earlier version
// ends with.
std::string ListingHeader() {
  return "check,steps,max_left,max_right,odi" + EyeColumns("left_", kPositions) +
         EyeColumns("right_", kPositions);
}

std::string ListingFields(int number, const CheckMoment& moment) {
  std::string line = (moment.name.empty() ? std::to_string(number) : moment.name) + ',' +
                     std::to_string(moment.trainedSteps) + ',';
  if (moment.logged) {
    const EyeMaxima& logged = *moment.logged;
    line +=
        runtime::ShortestText(logged.maxLeft) + ',' + runtime::ShortestText(logged.maxRight) + ',';
    const double odi = OcularDominance(logged.maxLeft, logged.maxRight);
    if (!std::isnan(odi)) line += runtime::ShortestText(odi);
  } else {
    line += ",,";
  }
  for (const ListingRow& row : moment.rows) line += ',' + runtime::ShortestText(row.yLeft);
  for (const ListingRow& row : moment.rows) line += ',' + runtime::ShortestText(row.yRight);
  return line;
}

// The moment a row holds, read from its fields; false, with the fault in problem, when a field
// cannot be what CheckTableRow writes.
bool MomentOf(const std::vector<std::string_view>& fields, int check, bool stateColumns,
              CheckMoment& moment, std::string& problem) {
  const std::size_t columns = kListingColumns + (stateColumns ? kStateColumns : 0);
  if (fields.size() != columns) {
    problem = std::to_string(fields.size()) + " fields, not " + std::to_string(columns);
    return false;
  }
  if (fields[0] != std::to_string(check)) {
    if (!IsCheckName(fields[0])) {
      problem = "check is neither " + std::to_string(check) + " nor a check's name";
      return false;
    }
    moment.name = fields[0];
  }
  if (!fields[2].empty() || !fields[3].empty()) {
    moment.logged.emplace();
    if (!Parse(fields[2], moment.logged->maxLeft) || !Parse(fields[3], moment.logged->maxRight)) {
      problem = "max_left and max_right must be numbers, or both empty";
      return false;
    }
  }
  moment.rows.resize(kPositions);
  bool numbers = Parse(fields[1], moment.trainedSteps);
  for (std::size_t i = 0; i < kPositions; ++i) {
    numbers = numbers && Parse(fields[5 + i], moment.rows[i].yLeft) &&
              Parse(fields[5 + kPositions + i], moment.rows[i].yRight);
  }
  if (stateColumns) {
    numbers = numbers && Parse(fields[kListingColumns], moment.theta) &&
              Parse(fields[kListingColumns + 1], moment.meanWeightLeft) &&
              Parse(fields[kListingColumns + 2], moment.meanWeightRight);
  }
  if (!numbers) problem = "steps, the responses, theta and the mean weights must be numbers";
  return numbers;
}

// The row line (without its newline) holds, if it is check number check as CheckTableRow writes
// it; else none, with the fault in problem.
std::optional<CheckRow> RowOf(std::string_view line, int check, bool stateColumns,
                              std::string& problem) {
  CheckMoment moment;
  if (!MomentOf(FieldsOf(line), check, stateColumns, moment, problem)) return std::nullopt;
  const std::string written =
      stateColumns ? CheckTableRow(check, moment) : ListingFields(check, moment) + '\n';
  if (written != std::string(line) + '\n') {
    problem = "not check " + std::to_string(check) +
              " as its numbers are written (in their shortest form, with the odi of max_left "
              "and max_right)";
    return std::nullopt;
  }
  const EyeMaxima listing = ListingMaxima(moment.rows);
  return CheckRow{stateColumns ? written : ListingFields(check, moment) + ",,,\n", listing.maxLeft,
                  listing.maxRight};
}
}  // namespace

std::string CheckTableHeader() {
  return ListingHeader() + ",theta,mean_weight_left,mean_weight_right\n";
}

std::string CheckTableRow(int number, const CheckMoment& moment) {
  return ListingFields(number, moment) + ',' + runtime::ShortestText(moment.theta) + ',' +
         runtime::ShortestText(moment.meanWeightLeft) + ',' +
         runtime::ShortestText(moment.meanWeightRight) + '\n';
}

runtime::Read<std::vector<CheckRow>> ReadCheckRows(std::string_view text) {
  const std::string header = CheckTableHeader(), earlier = ListingHeader() + '\n';
  const bool stateColumns = text.substr(0, header.size()) == header;
  if (!stateColumns && text.substr(0, earlier.size()) != earlier) {
    return runtime::Unreadable{"line 1 is not the header of a check table"};
  }
  std::vector<CheckRow> rows;
  int check = 1;
  for (std::size_t start = (stateColumns ? header : earlier).size(); start < text.size(); ++check) {
    const std::string line = "line " + std::to_string(check + 1);
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return runtime::Unreadable{line + " is cut short"};
    std::string problem;
    std::optional<CheckRow> row =
        RowOf(text.substr(start, end - start), check, stateColumns, problem);
    if (!row) return runtime::Unreadable{line + ": " + problem};
    rows.push_back(*std::move(row));
    start = end + 1;
  }
  return rows;
}

runtime::Read<std::vector<CheckRow>> ReadCheckRowsFile(const std::string& path) {
  return runtime::ReadFileWith(ReadCheckRows, path, kMaxCheckTableBytes, "a check table");
}
