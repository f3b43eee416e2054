#pragma once

#include <string>
#include <vector>

#include "BatchOptions.h"
#include "Course.h"

// DIR/course.png (or .svg): for each combination of the listed values, the mean over its
// complete units' course.csv rows, row by row (the units of a group share one schedule), with a
// band of one standard deviation across seeds either side. Call from the main thread. Returns
// false with a one-line reason in error; true, writing nothing, when no unit has a course yet.
bool WriteEnsembleFigure(const BatchOptions& options, const std::vector<bool>& complete,
                         std::string& error);

// What that figure draws: a group for each combination with a complete unit.
EnsembleCourse EnsembleCourseOf(const BatchOptions& options, const std::vector<bool>& complete);
