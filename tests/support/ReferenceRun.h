#pragma once

#include <cstdarg>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Bcm.h"
#include "CRand.h"
#include "LogNames.h"
#include "Stimuli.h"

// printf into a string, with room for any length.
inline std::string Printf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  text.pop_back();
  return text;
}

// What the seven log files should hold, by name.
using ExpectedLogs = std::map<std::string, std::string>;

// Plays `steps` steps of a run on the neuron straight from the neuron's and the stimuli's
// operations, and writes what the logs should then hold with printf: the yardstick the real
// run loop and log writer are measured against.
inline void ReplayRun(BCMNeuron& trained, runtime::CRand& g, int steps, bool left, bool right,
                      ExpectedLogs& logs) {
  for (int step = 0; step < steps; ++step) {
    std::vector<double> l, r;
    if (UniformRandom(g) >= 0.2) {
      l = MakeNoise(12, g, 0.05);
      r = MakeNoise(12, g, 0.05);
    } else {
      const int centre = g.rand() % 12;
      l = left ? MakePattern(12, centre, g, 0.05) : MakeNoise(12, g, 0.05);
      r = right ? MakePattern(12, centre, g, 0.05) : MakeNoise(12, g, 0.05);
    }
    const double y = trained.Output(Join(l, r), true);
    if (step % 100 != 0) continue;
    std::string weights;
    for (double w : trained.Weights()) weights += Printf("%8.5f ", w);
    weights += "\n";
    const double yl = trained.yLeft, yr = trained.yRight, theta = trained.Theta();
    if (left && right) {
      logs["log-learn.txt"] += weights;
      logs["log-learn-2.txt"] += Printf("%6d %8.5f %8.5f %8.5f %8.5f \n", step, -yl, yr, y, theta);
    } else if (left || right) {
      logs[left ? "log-left.txt" : "log-right.txt"] += weights;
      logs[left ? "log-left-2.txt" : "log-right-2.txt"] +=
          Printf("%6d %8.5f %8.5f %8.5f %8.5f\n", step, yl, yr, y, theta);
    }
    double maxLeft = -100.0, maxRight = -100.0;
    for (int centre = 0; centre < 12; ++centre) {
      const std::vector<double> pr = MakePattern(12, centre, g, 0.05);
      const std::vector<double> pl = MakePattern(12, centre, g, 0.05);
      trained.Output(Join(pl, pr), false);
      if (trained.yLeft > maxLeft) maxLeft = trained.yLeft;
      if (trained.yRight > maxRight) maxRight = trained.yRight;
    }
    logs["log.txt"] += Printf("%8.5f %8.5f", maxLeft, maxRight) + "\n";
  }
}

inline std::vector<std::string> LogNames() {
  return {kLogNames.begin(), kLogNames.end()};
}
