#include "TrainingRun.h"

#include "NumberText.h"
#include "Probe.h"
#include "RunHost.h"
#include "RunLogs.h"
#include "Simulation.h"
#include "Stimuli.h"

namespace {
void AppendEye(std::vector<double>& input, bool ticked, int centre, Simulation& simulation) {
  const Parameters& parameters = simulation.parameters();
  if (ticked) {
    AppendPattern(input, parameters.EyeWidth(), centre, simulation.generator, parameters.noise);
  } else {
    AppendNoise(input, parameters.EyeWidth(), simulation.generator, parameters.ClosedNoise());
  }
}

double MeanOf(const std::vector<double>& weights, std::size_t first, std::size_t count) {
  double sum = 0.0;
  for (std::size_t i = first; i < first + count; ++i) sum += weights[i];
  return sum / static_cast<double>(count);
}

void LogAndProbe(int run, std::int64_t step, double y, bool leftTicked, bool rightTicked,
                 Simulation& simulation, RunLogs& logs) {
  const BCMNeuron& neuron = simulation.neuron;
  // The summary line reads yLeft and yRight, which the probe's presentations overwrite.
  logs.LogStep(step, y, leftTicked, rightTicked, neuron);
  const double yLeft = neuron.yLeft, yRight = neuron.yRight;
  const EyeMaxima maxima = ProbeMaxima(simulation);
  logs.LogProbe(maxima.maxLeft, maxima.maxRight);
  const std::size_t half = neuron.Weights().size() / 2;
  logs.LogCourse({run, step, simulation.trainedSteps, leftTicked, rightTicked, maxima.maxLeft,
                  maxima.maxRight, neuron.Theta(), y, yLeft, yRight,
                  MeanOf(neuron.Weights(), 0, half), MeanOf(neuron.Weights(), half, half)});
}
}  // namespace

// Both eyes are drawn into one vector, one allocation a step.
std::vector<double> DrawTrainingInput(Simulation& simulation, bool leftTicked, bool rightTicked) {
  const Parameters& parameters = simulation.parameters();
  const int width = parameters.EyeWidth();
  std::vector<double> input;
  input.reserve(static_cast<std::size_t>(parameters.inputs));
  if (UniformRandom(simulation.generator) >= parameters.patternRate) {
    const double closed = parameters.ClosedNoise();
    AppendNoise(input, width, simulation.generator, leftTicked ? parameters.noise : closed);
    AppendNoise(input, width, simulation.generator, rightTicked ? parameters.noise : closed);
    return input;
  }
  const int centre = simulation.generator.rand() % width;
  AppendEye(input, leftTicked, centre, simulation);
  AppendEye(input, rightTicked, centre, simulation);
  return input;
}

std::string StepText(std::int64_t step) {
  std::string text = "step: ";
  runtime::AppendInteger(text, step, 0);
  return text;
}

void TrainingRun(Simulation& simulation, RunHost& host, RunLogs& logs) {
  simulation.stopRequested = false;
  const int run = logs.StartRun();
  // Read at every use: a handler run in the pump may change them.
  const Parameters& parameters = simulation.parameters();
  // 64 bits: a run left going for days passes 2^31 steps.
  std::int64_t step = 0;
  while (!simulation.stopRequested) {
    while (simulation.paused) host.WaitForMessages();
    host.ShowStep(step);
    if (step % parameters.redrawEvery == 0) host.ShowNeuron(simulation.neuron);
    const bool left = host.LeftTicked();
    const bool right = host.RightTicked();
    const double y = simulation.neuron.Output(DrawTrainingInput(simulation, left, right), true);
    ++simulation.trainedSteps;
    if (step % parameters.logEvery == 0) LogAndProbe(run, step, y, left, right, simulation, logs);
    ++step;
    host.ProcessMessages();
  }
}
