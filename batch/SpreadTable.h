#pragma once

#include <string>

#include "BatchOptions.h"
#include "Course.h"

// DIR/spread.csv, the numbers the ensemble's course figure draws, in long format: one row per
// combination, logged step and value, with the combination's listed parameters and generator,
// trained_steps, quantity (course.csv's column: max_left, max_right, ocular_dominance, theta,
// mean_weight_left, mean_weight_right), n (the units with the value there: an eye's -100 of no
// response and a dominance that does not exist are left out), mean, sd (sample) and sem; empty
// where there is none (sd and sem of one value). Written whole; false with a one-line reason in
// error.
bool WriteSpreadTable(const BatchOptions& options, const EnsembleCourse& course,
                      std::string& error);
