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
constexpr double kNoiseThreshold = 0.2;
constexpr int kRedrawPeriod = 50;
constexpr int kLogPeriod = 100;

// Draws in a fixed order: the uniform number, the centre on pattern steps, the left eye, the
// right eye. An unticked eye sees noise; a noise step ignores the boxes.
std::vector<double> DrawInput(const RunHost& host) {
  if (UniformRandom() >= kNoiseThreshold) {
    std::vector<double> left = MakeNoise(kEyeWidth);
    return Join(std::move(left), MakeNoise(kEyeWidth));
  }
  const int centre = runtime::rand() % kEyeWidth;
  std::vector<double> left =
      host.LeftTicked() ? MakePattern(kEyeWidth, centre) : MakeNoise(kEyeWidth);
  std::vector<double> right =
      host.RightTicked() ? MakePattern(kEyeWidth, centre) : MakeNoise(kEyeWidth);
  return Join(std::move(left), std::move(right));
}

void LogAndProbe(std::int64_t step, double y, const RunHost& host, RunLogs& logs) {
  // The summary line reads yLeft and yRight, which the probe's presentations overwrite.
  logs.LogStep(step, y, host.LeftTicked(), host.RightTicked(), *neuron);
  const EyeMaxima maxima = ProbeMaxima(*neuron);
  logs.LogProbe(maxima.maxLeft, maxima.maxRight);
}
}  // namespace

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
    host.SetStepText(StepText(step));
    if (step % kRedrawPeriod == 0) host.ShowNeuron(*neuron);
    const double y = neuron->Output(DrawInput(host), true);
    if (step % kLogPeriod == 0) LogAndProbe(step, y, host, logs);
    ++step;
    host.ProcessMessages();
  }
}
