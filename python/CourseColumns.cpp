#include "CourseColumns.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "CourseCsv.h"
#include "OcularDominance.h"
#include "ParameterKeywords.h"

namespace py = pybind11;

namespace {
template <class Value, class Field>
py::array_t<Value> ColumnOf(const std::vector<CourseRow>& rows, Field field) {
  py::array_t<Value> column(static_cast<py::ssize_t>(rows.size()));
  Value* values = column.mutable_data();
  for (const CourseRow& row : rows) *values++ = static_cast<Value>(field(row));
  return column;
}

using Column = py::array (*)(const std::vector<CourseRow>&);
// In course.csv's order; its header gives the names.
const std::array<Column, 14> kColumns = {
    [](const auto& rows) -> py::array {
      return ColumnOf<std::int64_t>(rows, [](const CourseRow& r) { return r.run; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<std::int64_t>(rows, [](const CourseRow& r) { return r.step; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<std::int64_t>(rows, [](const CourseRow& r) { return r.trainedSteps; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<bool>(rows, [](const CourseRow& r) { return r.leftTicked; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<bool>(rows, [](const CourseRow& r) { return r.rightTicked; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.maxLeft; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.maxRight; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(
          rows, [](const CourseRow& r) { return OcularDominance(r.maxLeft, r.maxRight); });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.theta; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.y; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.yLeft; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.yRight; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.meanLeftWeight; });
    },
    [](const auto& rows) -> py::array {
      return ColumnOf<double>(rows, [](const CourseRow& r) { return r.meanRightWeight; });
    },
};

std::vector<std::string> CourseNames() {
  std::string header = course_csv::Header();
  header.pop_back();  // its newline
  std::vector<std::string> names;
  for (std::size_t start = 0; start <= header.size();) {
    const std::size_t comma = std::min(header.find(',', start), header.size());
    names.push_back(header.substr(start, comma - start));
    start = comma + 1;
  }
  if (names.size() != kColumns.size()) throw std::logic_error("course.csv's columns changed");
  return names;
}

bool WholeColumn(const std::string& name) {
  if (name == "seed" || name == "check" || name == "steps") return true;
  for (const ParameterOption& option : ParameterOptions()) {
    if (KeywordOf(option) == name) return IsWhole(option);
  }
  return false;
}
}  // namespace

py::dict CourseColumns(const std::vector<CourseRow>& rows) {
  static const std::vector<std::string> names = CourseNames();
  py::dict columns;
  for (std::size_t i = 0; i < names.size(); ++i) columns[py::str(names[i])] = kColumns[i](rows);
  return columns;
}

py::dict SummaryColumns(const SummaryTable& table) {
  py::dict columns;
  for (std::size_t i = 0; i < table.names.size(); ++i) {
    if (!table.words[i].empty()) {
      py::list words;
      for (const std::string& word : table.words[i]) words.append(py::str(word));
      columns[py::str(table.names[i])] = py::module_::import("numpy").attr("array")(words);
      continue;
    }
    const std::vector<double>& values = table.columns[i];
    py::array_t<double> column(static_cast<py::ssize_t>(values.size()), values.data());
    // A diverged unit's row without checks leaves its whole numbers empty: NaN, so floats.
    const bool whole =
        WholeColumn(table.names[i]) &&
        std::none_of(values.begin(), values.end(), [](double v) { return std::isnan(v); });
    columns[py::str(table.names[i])] = whole ? py::array(column.attr("astype")("int64")) : column;
  }
  return columns;
}

py::object Frame(const py::dict& columns) {
  py::module_ pandas;
  try {
    pandas = py::module_::import("pandas");
  } catch (const py::error_already_set& error) {
    if (!error.matches(PyExc_ImportError)) throw;
    PyErr_SetString(PyExc_ImportError,
                    "a data frame needs pandas (python3-pandas, or pip install pandas); the plain "
                    "dict of numpy arrays needs nothing more");
    throw py::error_already_set();
  }
  return pandas.attr("DataFrame")(columns);
}
