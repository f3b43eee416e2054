#pragma once

#include <string>
#include <vector>

#include "BatchOptions.h"
#include "Course.h"
#include "EnsembleUnitRun.h"

// What the figure had to go without, each a line naming the file and its fault: "" when nothing.
struct EnsembleFigureDamage {
  std::vector<std::string> courses;  // each unit's whose course is left out
  std::string events;                // the run.json the event markers come from
};

// What DIR/course.png (or .svg) draws, and spread.csv holds: for each combination of the listed
// values with a complete unit, the mean over its complete units' course.csv rows, row by row (the
// units of a group share one schedule), and their standard deviation across seeds; units that
// diverged are left out. What goes without for damaged files goes to damage.
EnsembleCourse EnsembleCourseOf(const BatchOptions& options, const UnitStates& units,
                                EnsembleFigureDamage& damage);
