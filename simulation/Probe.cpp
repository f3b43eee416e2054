#include "Probe.h"

#include <algorithm>
#include <span>

#include "NumberText.h"
#include "Simulation.h"
#include "Stimuli.h"

namespace {
constexpr int kPositions = 12;

// ProbePosition with the input written over a buffer the caller reuses for every position.
double Present(Simulation& simulation, int centre, std::vector<double>& input) {
  const auto width = static_cast<std::size_t>(simulation.parameters().EyeWidth());
  const double noise = simulation.parameters().noise;
  input.resize(2 * width);
  const std::span<double> left(input.data(), width), right(input.data() + width, width);
  simulation.measurement().Visit([&](auto& generator) {
    FillPattern(right, centre, generator, noise);
    FillPattern(left, centre, generator, noise);  // drawn after the right
  });
  return simulation.neuron().Output(input, false);
}
}  // namespace

double ProbePosition(Simulation& simulation, int centre) {
  std::vector<double> input;
  return Present(simulation, centre, input);
}

EyeMaxima ProbeMaxima(Simulation& simulation) {
  EyeMaxima maxima{-100.0, -100.0};
  const BCMNeuron& probed = simulation.neuron();
  std::vector<double> input;
  for (int centre = 0; centre < kPositions; ++centre) {
    Present(simulation, centre, input);
    if (probed.yLeft > maxima.maxLeft) maxima.maxLeft = probed.yLeft;
    if (probed.yRight > maxima.maxRight) maxima.maxRight = probed.yRight;
  }
  return maxima;
}

std::string ListingLine(int centre, double yLeft, double yRight, double y) {
  std::string line;
  runtime::AppendInteger(line, centre, 2);
  line += ". ";
  runtime::AppendFixed(line, yLeft, 8, 5);
  line += " + ";
  runtime::AppendFixed(line, yRight, 8, 5);
  line += "  = ";
  runtime::AppendFixed(line, y, 8, 5);
  line += ' ';
  return line;
}

std::vector<ListingRow> CheckItOutResponses(Simulation& simulation) {
  std::vector<ListingRow> rows;
  std::vector<double> input;
  for (int centre = 0; centre < kPositions; ++centre) {
    const double y = Present(simulation, centre, input);
    rows.push_back({simulation.neuron().yLeft, simulation.neuron().yRight, y});
  }
  return rows;
}

EyeMaxima ListingMaxima(const std::vector<ListingRow>& rows) {
  EyeMaxima maxima{rows.front().yLeft, rows.front().yRight};
  for (const ListingRow& row : rows) {
    maxima.maxLeft = std::max(maxima.maxLeft, row.yLeft);
    maxima.maxRight = std::max(maxima.maxRight, row.yRight);
  }
  return maxima;
}

std::vector<std::string> ListingLines(const std::vector<ListingRow>& rows) {
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  int centre = 0;
  for (const ListingRow& row : rows) {
    lines.push_back(ListingLine(centre++, row.yLeft, row.yRight, row.y));
  }
  return lines;
}
