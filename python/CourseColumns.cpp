#include "CourseColumns.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "CourseCsv.h"
#include "ParameterKeywords.h"

namespace py = pybind11;

namespace {
template <class Value>
py::array_t<Value> ColumnOf(const std::vector<CourseRow>& rows, double (*of)(const CourseRow&)) {
  py::array_t<Value> column(static_cast<py::ssize_t>(rows.size()));
  Value* values = column.mutable_data();
  for (const CourseRow& row : rows) *values++ = static_cast<Value>(of(row));
  return column;
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
  py::dict columns;
  for (const course_csv::ColumnValue& column : course_csv::ColumnValues()) {
    columns[py::str(column.name)] = column.kind == course_csv::ColumnKind::kCount
                                        ? py::array(ColumnOf<std::int64_t>(rows, column.of))
                                    : column.kind == course_csv::ColumnKind::kTick
                                        ? py::array(ColumnOf<bool>(rows, column.of))
                                        : py::array(ColumnOf<double>(rows, column.of));
  }
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
