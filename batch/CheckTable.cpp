#include "CheckTable.h"

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

// Whether line (without its newline) is the row of check number check as CheckTableRow writes
// it; else false, with the fault in problem.
bool IsRow(std::string_view line, int check, std::string& problem) {
  const std::vector<std::string_view> fields = FieldsOf(line);
  const std::size_t columns = 5 + 2 * kPositions;
  if (fields.size() != columns) {
    problem = std::to_string(fields.size()) + " fields, not " + std::to_string(columns);
    return false;
  }
  std::uint64_t steps = 0;
  std::optional<EyeMaxima> logged;
  if (!fields[2].empty() || !fields[3].empty()) {
    logged.emplace();
    if (!Parse(fields[2], logged->maxLeft) || !Parse(fields[3], logged->maxRight)) {
      problem = "max_left and max_right must be numbers, or both empty";
      return false;
    }
  }
  std::vector<ListingRow> rows(kPositions);
  bool responses = true;
  for (std::size_t i = 0; i < kPositions; ++i) {
    responses = responses && Parse(fields[5 + i], rows[i].yLeft) &&
                Parse(fields[5 + kPositions + i], rows[i].yRight);
  }
  if (!Parse(fields[1], steps) || !responses) {
    problem = "steps and the responses must be numbers";
    return false;
  }
  if (CheckTableRow(check, steps, logged, rows) != std::string(line) + '\n') {
    problem = "not check " + std::to_string(check) +
              " as its numbers are written (in their shortest form, with the odi of max_left "
              "and max_right)";
    return false;
  }
  return true;
}
}  // namespace

std::string CheckTableHeader() {
  return "check,steps,max_left,max_right,odi" + EyeColumns("left_", kPositions) +
         EyeColumns("right_", kPositions) + "\n";
}

std::string CheckTableRow(int check, std::uint64_t trainedSteps,
                          const std::optional<EyeMaxima>& logged,
                          const std::vector<ListingRow>& rows) {
  std::string line = std::to_string(check) + ',' + std::to_string(trainedSteps) + ',';
  if (logged) {
    line += runtime::ShortestText(logged->maxLeft) + ',' + runtime::ShortestText(logged->maxRight) +
            ',';
    const double odi = OcularDominance(logged->maxLeft, logged->maxRight);
    if (!std::isnan(odi)) line += runtime::ShortestText(odi);
  } else {
    line += ",,";
  }
  for (const ListingRow& row : rows) line += ',' + runtime::ShortestText(row.yLeft);
  for (const ListingRow& row : rows) line += ',' + runtime::ShortestText(row.yRight);
  return line + '\n';
}

runtime::Read<std::vector<std::string>> ReadCheckRows(std::string_view text) {
  const std::string header = CheckTableHeader();
  if (text.substr(0, header.size()) != header) {
    return runtime::Unreadable{"line 1 is not the header of a check table"};
  }
  std::vector<std::string> rows;
  int check = 1;
  for (std::size_t start = header.size(); start < text.size(); ++check) {
    const std::string line = "line " + std::to_string(check + 1);
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return runtime::Unreadable{line + " is cut short"};
    std::string problem;
    if (!IsRow(text.substr(start, end - start), check, problem)) {
      return runtime::Unreadable{line + ": " + problem};
    }
    rows.emplace_back(text.substr(start, end + 1 - start));
    start = end + 1;
  }
  return rows;
}

runtime::Read<std::vector<std::string>> ReadCheckRowsFile(const std::string& path) {
  return runtime::ReadFileWith(ReadCheckRows, path, kMaxCheckTableBytes, "a check table");
}
