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

// DIR/course.png (or .svg): for each combination of the listed values, the mean over its
// complete units' course.csv rows, row by row (the units of a group share one schedule), with a
// band of one standard deviation across seeds either side; units that diverged are left out. Call
// from the main thread. Returns false with a one-line reason in error; true, writing nothing, when
// no unit has a course yet. What is drawn without for damaged files goes to damage.
bool WriteEnsembleFigure(const BatchOptions& options, const UnitStates& units,
                         EnsembleFigureDamage& damage, std::string& error);

// What that figure draws: a group for each combination with a complete unit.
EnsembleCourse EnsembleCourseOf(const BatchOptions& options, const UnitStates& units,
                                EnsembleFigureDamage& damage);
