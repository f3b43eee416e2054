#pragma once

#include <string>

#include "BatchOptions.h"
#include "EnsembleSummary.h"
#include "SummaryPlot.h"

// DIR/summary.png (or .svg, with the ensemble's --course-format and --course-size): for each check
// of summary.csv, the listing's ocular dominance (listing_odi) against the first listed parameter
// that takes numbers, the mean over the units with a value as a point with its error bar (--error),
// one line per combination of the protocols and the other lists; with no such parameter, a strip
// plot of every unit's value beside the mean, a strip per combination. Every point is the rows of
// summary.csv that share its check and combination.

// The figure's values from summary.csv's table.
SummaryPlot SummaryPlotOf(const BatchOptions& options, const SummaryTable& table);

// Reads DIR/summary.csv and draws it; true, writing nothing, when it holds no value to draw. Call
// from the main thread. false with a one-line reason in error.
bool WriteSummaryFigure(const BatchOptions& options, std::string& error);

// The t distribution's 97.5% quantile for this many degrees of freedom (at least 1): a 95%
// confidence interval's half width is this times the standard error.
double StudentT975(std::size_t degrees);
