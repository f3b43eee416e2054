#pragma once

#include <string>
#include <vector>

#include "BatchOptions.h"
#include "EnsembleUnitRun.h"

// DIR/courses.csv (--summarize DIR --courses): every complete unit's course.csv rows in one long
// table, in the ensemble's order, each after the unit's listed parameters, generator and seed.
// Diverged units are in it too, up to their last logged step. A unit whose course.csv is missing
// or damaged is left out and named in damaged, with the reason. Written whole; false with a
// one-line reason in error.
bool WriteCoursesTable(const BatchOptions& options, const UnitStates& units,
                       std::vector<std::string>& damaged, std::string& error);
