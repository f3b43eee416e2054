#include "CourseCsv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "NumberText.h"
#include "OcularDominance.h"
#include "Printable.h"
#include "RegularFile.h"

namespace course_csv {
namespace {
// Far beyond a course of a billion steps; a file larger still is not a session's.
constexpr std::size_t kMaxCourseBytes = std::size_t{4} << 30;

template <class Number>
bool Parse(std::string_view field, Number& value) {
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

bool Tick(std::string_view field, bool& ticked) {
  ticked = field == "1";
  return ticked || field == "0";
}

// A column: its name in the header, and how its field is read into a row.
struct Column {
  ColumnValue value;
  bool (*read)(std::string_view field, CourseRow& row);
};

template <class Number>
double Real(Number number) {
  return static_cast<double>(number);
}

constexpr std::array<Column, 14> kColumns = {{
    {{"run", ColumnKind::kCount, [](const CourseRow& r) { return Real(r.run); }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.run); }},
    {{"step", ColumnKind::kCount, [](const CourseRow& r) { return Real(r.step); }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.step); }},
    {{"trained_steps", ColumnKind::kCount, [](const CourseRow& r) { return Real(r.trainedSteps); }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.trainedSteps); }},
    {{"left_ticked", ColumnKind::kTick, [](const CourseRow& r) { return Real(r.leftTicked); }},
     [](std::string_view f, CourseRow& r) { return Tick(f, r.leftTicked); }},
    {{"right_ticked", ColumnKind::kTick, [](const CourseRow& r) { return Real(r.rightTicked); }},
     [](std::string_view f, CourseRow& r) { return Tick(f, r.rightTicked); }},
    {{"max_left", ColumnKind::kReal, [](const CourseRow& r) { return r.maxLeft; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.maxLeft); }},
    {{"max_right", ColumnKind::kReal, [](const CourseRow& r) { return r.maxRight; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.maxRight); }},
    // Made from the two maxima: the row's round trip checks it.
    {{"ocular_dominance", ColumnKind::kReal,
      [](const CourseRow& r) { return OcularDominance(r.maxLeft, r.maxRight); }},
     [](std::string_view, CourseRow&) { return true; }},
    {{"theta", ColumnKind::kReal, [](const CourseRow& r) { return r.theta; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.theta); }},
    {{"response", ColumnKind::kReal, [](const CourseRow& r) { return r.y; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.y); }},
    {{"response_left", ColumnKind::kReal, [](const CourseRow& r) { return r.yLeft; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.yLeft); }},
    {{"response_right", ColumnKind::kReal, [](const CourseRow& r) { return r.yRight; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.yRight); }},
    {{"mean_weight_left", ColumnKind::kReal, [](const CourseRow& r) { return r.meanLeftWeight; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.meanLeftWeight); }},
    {{"mean_weight_right", ColumnKind::kReal, [](const CourseRow& r) { return r.meanRightWeight; }},
     [](std::string_view f, CourseRow& r) { return Parse(f, r.meanRightWeight); }},
}};

void AppendUnsigned(std::string& text, std::uint64_t value) {
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// The row a line (without its newline) holds; else false, with the fault in problem.
bool ReadRow(std::string_view line, CourseRow& row, std::string& problem) {
  const auto fields = static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
  if (fields != kColumns.size()) {
    problem = std::to_string(fields) + " fields, not " + std::to_string(kColumns.size());
    return false;
  }
  for (const Column& column : kColumns) {
    const std::string_view field = line.substr(0, line.find(','));
    if (!column.read(field, row)) {
      problem = std::string(column.value.name) + " cannot be \"" +
                runtime::Printable(field, runtime::kQuotedField) + "\"";
      return false;
    }
    line.remove_prefix(std::min(field.size() + 1, line.size()));
  }
  return true;
}
}  // namespace

std::vector<ColumnValue> ColumnValues() {
  std::vector<ColumnValue> values;
  values.reserve(kColumns.size());
  for (const Column& column : kColumns) values.push_back(column.value);
  return values;
}

std::string Header() {
  std::string header;
  for (const Column& column : kColumns)
    header += std::string(header.empty() ? "" : ",") + column.value.name;
  return header + '\n';
}

void AppendRow(std::string& text, const CourseRow& row) {
  runtime::AppendInteger(text, row.run, 0);
  text += ',';
  runtime::AppendInteger(text, row.step, 0);
  text += ',';
  AppendUnsigned(text, row.trainedSteps);
  text += row.leftTicked ? ",1" : ",0";
  text += row.rightTicked ? ",1," : ",0,";
  runtime::AppendShortest(text, row.maxLeft);
  text += ',';
  runtime::AppendShortest(text, row.maxRight);
  text += ',';
  // Undefined when neither eye drives the neuron: left empty, as table readers expect.
  if (const double odi = OcularDominance(row.maxLeft, row.maxRight); !std::isnan(odi)) {
    runtime::AppendShortest(text, odi);
  }
  for (double value :
       {row.theta, row.y, row.yLeft, row.yRight, row.meanLeftWeight, row.meanRightWeight}) {
    text += ',';
    runtime::AppendShortest(text, value);
  }
  text += '\n';
}

runtime::Read<std::vector<CourseRow>> ReadRows(std::string_view text) {
  const std::string header = Header();
  if (text.substr(0, header.size()) != header) {
    return runtime::Unreadable{"line 1 is not the header of a course record"};
  }
  std::vector<CourseRow> rows;
  std::size_t number = 2;
  for (std::size_t start = header.size(); start < text.size(); ++number) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      return runtime::Unreadable{"line " + std::to_string(number) + " is cut short"};
    }
    const std::string_view line = text.substr(start, end - start);
    CourseRow row{};
    std::string problem;
    if (!ReadRow(line, row, problem)) {
      return runtime::Unreadable{"line " + std::to_string(number) + ": " + problem};
    }
    std::string written;
    AppendRow(written, row);
    if (written != text.substr(start, end + 1 - start)) {
      return runtime::Unreadable{
          "line " + std::to_string(number) +
          ": not as its numbers are written (in their shortest form, with the ocular_dominance "
          "of max_left and max_right)"};
    }
    rows.push_back(row);
    start = end + 1;
  }
  return rows;
}

runtime::Read<std::vector<CourseRow>> ReadRowsFile(const std::string& path) {
  return runtime::ReadFileWith(ReadRows, path, kMaxCourseBytes, "a course record");
}

}  // namespace course_csv
