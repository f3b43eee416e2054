#include "Probe.h"

#include "NumberText.h"
#include "Simulation.h"
#include "Stimuli.h"

namespace {
constexpr int kPositions = 12;
}  // namespace

double ProbePosition(Simulation& simulation, int centre) {
  const int width = simulation.parameters().EyeWidth();
  const double noise = simulation.parameters().noise;
  const std::vector<double> right = MakePattern(width, centre, simulation.generator, noise);
  std::vector<double> input;
  input.reserve(static_cast<std::size_t>(simulation.parameters().inputs));
  AppendPattern(input, width, centre, simulation.generator, noise);  // drawn after the right
  input.insert(input.end(), right.begin(), right.end());
  return simulation.neuron.Output(std::move(input), false);
}

EyeMaxima ProbeMaxima(Simulation& simulation) {
  EyeMaxima maxima{-100.0, -100.0};
  const BCMNeuron& probed = simulation.neuron;
  for (int centre = 0; centre < kPositions; ++centre) {
    ProbePosition(simulation, centre);
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
  for (int centre = 0; centre < kPositions; ++centre) {
    const double y = ProbePosition(simulation, centre);
    rows.push_back({simulation.neuron.yLeft, simulation.neuron.yRight, y});
  }
  return rows;
}

std::vector<std::string> CheckItOutListing(Simulation& simulation) {
  std::vector<std::string> lines;
  int centre = 0;
  for (const ListingRow& row : CheckItOutResponses(simulation)) {
    lines.push_back(ListingLine(centre++, row.yLeft, row.yRight, row.y));
  }
  return lines;
}
