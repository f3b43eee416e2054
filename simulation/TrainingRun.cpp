#include "TrainingRun.h"

#include <vector>

#include "Bcm.h"
#include "CRand.h"
#include "NumberText.h"
#include "Probe.h"
#include "RunHost.h"
#include "RunLogs.h"
#include "RunState.h"
#include "Stimuli.h"

namespace {
constexpr int kEyeWidth = 12;
constexpr std::size_t kInputCount = std::size_t{2} * kEyeWidth;
constexpr double kNoiseThreshold = 0.2;
constexpr int kRedrawPeriod = 50;
constexpr int kLogPeriod = 100;

void AppendEye(std::vector<double>& input, bool ticked, int centre) {
  if (ticked) {
    AppendPattern(input, kEyeWidth, centre);
  } else {
    AppendNoise(input, kEyeWidth);
  }
}

void LogAndProbe(std::int64_t step, double y, const RunHost& host, RunLogs& logs) {
  // The summary line reads yLeft and yRight, which the probe's presentations overwrite.
  logs.LogStep(step, y, host.LeftTicked(), host.RightTicked(), *neuron);
  const EyeMaxima maxima = ProbeMaxima(*neuron);
  logs.LogProbe(maxima.maxLeft, maxima.maxRight);
}
}  // namespace

// Both eyes are drawn into one vector, one allocation a step.
std::vector<double> DrawTrainingInput(const RunHost& host) {
  std::vector<double> input;
  input.reserve(kInputCount);
  if (UniformRandom() >= kNoiseThreshold) {
    AppendNoise(input, kEyeWidth);
    AppendNoise(input, kEyeWidth);
    return input;
  }
  const int centre = runtime::rand() % kEyeWidth;
  AppendEye(input, host.LeftTicked(), centre);
  AppendEye(input, host.RightTicked(), centre);
  return input;
}

std::string StepText(std::int64_t step) {
  std::string text = "step: ";
  runtime::AppendInteger(text, step, 0);
  return text;
}

void TrainingRun(RunHost& host, RunLogs& logs) {
  stopRequested = false;
  // 64 bits: a run left going for days passes 2^31 steps.
  std::int64_t step = 0;
  while (!stopRequested) {
    while (paused) host.ProcessMessages();
    host.ShowStep(step);
    if (step % kRedrawPeriod == 0) host.ShowNeuron(*neuron);
    const double y = neuron->Output(DrawTrainingInput(host), true);
    if (step % kLogPeriod == 0) LogAndProbe(step, y, host, logs);
    ++step;
    host.ProcessMessages();
  }
}
