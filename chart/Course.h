#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "OcularDominance.h"

// What a chart of a session's course is drawn from: plain values, so that a program without a
// window can describe a course without Qt.

// The largest response the probe logs for an eye none of whose responses exceeded it (log.txt's
// -100.00000): there was none, and no chart draws it.
inline constexpr double kNoResponse = -100.0;

// A largest response as a chart takes it: NaN, which no chart draws, when there was none.
inline double DrawnResponse(double response) {
  return response == kNoResponse ? std::numeric_limits<double>::quiet_NaN() : response;
}

// One logged step. odi is NaN when the two eyes' responses give no dominance (R + L <= 0, or an eye
// without a response).
struct CoursePoint {
  std::int64_t totalSteps = 0;
  double maxLeft = 0.0;  // the probe's, as logged: kNoResponse for none
  double maxRight = 0.0;
  double theta = 0.0;
  double odi = std::numeric_limits<double>::quiet_NaN();
};

enum class Eye { Left, Right };

// The eye was unticked from step fromSteps up to, not including, toSteps.
struct EyeClosure {
  std::int64_t fromSteps = 0;
  std::int64_t toSteps = 0;
  Eye eye = Eye::Left;
  bool operator==(const EyeClosure&) const = default;
};

// The steps of a session, counted from its start, at which something happened to the neuron.
struct SessionEvents {
  std::vector<EyeClosure> closures;
  std::vector<std::int64_t> resets;
  std::vector<std::int64_t> loads;  // a saved state replaced the whole simulation
  bool operator==(const SessionEvents&) const = default;
};

struct Course {
  std::vector<CoursePoint> points;  // in step order
  SessionEvents events;
  std::string caption;
};

// A value over the units of one ensemble group.
struct Spread {
  double mean = 0.0;
  double deviation = 0.0;
  std::size_t count = 0;  // the units with the value
};

struct EnsemblePoint {
  std::int64_t totalSteps = 0;
  Spread maxLeft;
  Spread maxRight;
  Spread odi;
  // Not drawn: for spread.csv, the numbers behind the figure.
  Spread theta = {};
  Spread meanWeightLeft = {};
  Spread meanWeightRight = {};
};

// The units that share one combination of parameter values.
struct EnsembleGroup {
  std::string label;
  std::vector<EnsemblePoint> points;  // in step order
  std::size_t colour = 0;  // its place among all groups (the plan's group), so that it keeps its
                           // colour when another has nothing to draw
};

struct EnsembleCourse {
  std::vector<EnsembleGroup> groups;
  SessionEvents events;
  std::string caption;
};
