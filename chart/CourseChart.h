#pragma once

#include <string>

#include "Course.h"
#include "SummaryPlot.h"

// Course figures as files: PNG at width x height pixels or SVG of that size, chosen by the
// extension. Each is written whole (temporary name, then rename); on failure the existing file
// is left as it was and error holds a one-line reason. Works in a program without a display.
// Call from the program's main thread.
bool WriteCourseChart(const Course& course, const std::string& path, int width, int height,
                      std::string& error);
bool WriteEnsembleChart(const EnsembleCourse& ensemble, const std::string& path, int width,
                        int height, std::string& error);
bool WriteSummaryChart(const SummaryPlot& plot, const std::string& path, int width, int height,
                       std::string& error);

// "" when a chart could be written to path at that size now, else the reason: for rejecting a
// command line before a long run rather than after it.
std::string ChartFileProblem(const std::string& path, int width, int height);
// Its extension and size only, for a chart in a folder that is yet to be made.
std::string ChartShapeProblem(const std::string& path, int width, int height);

inline constexpr int kDefaultChartWidth = 1200;
inline constexpr int kDefaultChartHeight = 900;
