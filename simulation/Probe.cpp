#include "Probe.h"

#include "Bcm.h"
#include "NumberText.h"
#include "Stimuli.h"

namespace {
constexpr int kEyeWidth = 12;
constexpr std::size_t kInputCount = std::size_t{2} * kEyeWidth;
constexpr int kPositions = 12;
}  // namespace

double ProbePosition(BCMNeuron& probed, int centre) {
  const std::vector<double> right = MakePattern(kEyeWidth, centre);
  std::vector<double> input;
  input.reserve(kInputCount);
  AppendPattern(input, kEyeWidth, centre);  // the left eye, drawn after the right
  input.insert(input.end(), right.begin(), right.end());
  return probed.Output(std::move(input), false);
}

EyeMaxima ProbeMaxima(BCMNeuron& probed) {
  EyeMaxima maxima{-100.0, -100.0};
  for (int centre = 0; centre < kPositions; ++centre) {
    ProbePosition(probed, centre);
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

std::vector<std::string> CheckItOutListing(BCMNeuron& probed) {
  std::vector<std::string> lines;
  for (int centre = 0; centre < kPositions; ++centre) {
    const double y = ProbePosition(probed, centre);
    lines.push_back(ListingLine(centre, probed.yLeft, probed.yRight, y));
  }
  return lines;
}
