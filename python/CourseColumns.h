#pragma once

#include <vector>

#include <pybind11/pybind11.h>

#include "CourseRow.h"
#include "EnsembleSummary.h"

// The course record as Python sees it: one numpy array per column of course.csv, named as
// course.csv names them, in its order.
pybind11::dict CourseColumns(const std::vector<CourseRow>& rows);

// An ensemble's summary.csv the same way: seeds, checks, steps and whole parameters as integers,
// every other column as floats (NaN for an empty field).
pybind11::dict SummaryColumns(const SummaryTable& table);

// pandas.DataFrame(columns); ImportError saying what to install when pandas is missing.
pybind11::object Frame(const pybind11::dict& columns);
