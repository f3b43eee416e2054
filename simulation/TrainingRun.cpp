#include "TrainingRun.h"

#include <cmath>
#include <span>

#include "MeanWeights.h"
#include "NumberText.h"
#include "Probe.h"
#include "RunHost.h"
#include "RunLogs.h"
#include "Simulation.h"
#include "Stimuli.h"

namespace {
template <class Generator>
void DrawEye(std::span<double> eye, bool ticked, int centre, const Parameters& parameters,
             Generator& generator) {
  if (ticked) {
    FillPattern(eye, centre, generator, parameters.noise);
  } else {
    FillNoise(eye, generator, parameters.ClosedNoise());
  }
}

// DrawTrainingInput with the concrete generator: the choice of kind is made once a step.
template <class Generator>
void DrawInput(const Parameters& parameters, bool leftTicked, bool rightTicked,
               std::span<double> left, std::span<double> right, Generator& generator) {
  if (UniformRandom(generator) >= parameters.patternRate) {
    const double closed = parameters.ClosedNoise();
    FillNoise(left, generator, leftTicked ? parameters.noise : closed);
    FillNoise(right, generator, rightTicked ? parameters.noise : closed);
    return;
  }
  const int centre = generator.rand() % parameters.EyeWidth();
  DrawEye(left, leftTicked, centre, parameters, generator);
  DrawEye(right, rightTicked, centre, parameters, generator);
}

void LogAndProbe(int run, std::int64_t step, double y, bool leftTicked, bool rightTicked,
                 Simulation& simulation, RunLogs& logs) {
  const BCMNeuron& neuron = simulation.neuron();
  // The summary line reads yLeft and yRight, which the probe's presentations overwrite.
  logs.LogStep(step, y, leftTicked, rightTicked, neuron);
  const double yLeft = neuron.yLeft, yRight = neuron.yRight;
  const EyeMaxima maxima = ProbeMaxima(simulation);
  logs.LogProbe(maxima.maxLeft, maxima.maxRight);
  const EyeMeanWeights means = MeanWeightsOf(neuron);
  logs.LogCourse({run, step, simulation.trainedSteps(), leftTicked, rightTicked, maxima.maxLeft,
                  maxima.maxRight, neuron.Theta(), y, yLeft, yRight, means.left, means.right});
}
// Every run ends, nested ones too: none of them can learn on from here.
void Diverge(Simulation& simulation, double y) {
  const bool response = !std::isfinite(y);
  simulation.MarkDiverged({simulation.trainedSteps(), response ? "response" : "threshold",
                           response ? y : simulation.neuron().Theta()});
  simulation.RequestStop();
}
}  // namespace

void DrawTrainingInput(Simulation& simulation, bool leftTicked, bool rightTicked,
                       std::vector<double>& input) {
  const Parameters& parameters = simulation.parameters();
  const auto width = static_cast<std::size_t>(parameters.EyeWidth());
  input.resize(2 * width);  // a no-op from the second step on
  const std::span<double> left(input.data(), width), right(input.data() + width, width);
  simulation.generator().Visit([&](auto& generator) {
    DrawInput(parameters, leftTicked, rightTicked, left, right, generator);
  });
}

std::vector<double> DrawTrainingInput(Simulation& simulation, bool leftTicked, bool rightTicked) {
  std::vector<double> input;
  DrawTrainingInput(simulation, leftTicked, rightTicked, input);
  return input;
}

std::string StepText(std::int64_t step) {
  std::string text = "step: ";
  runtime::AppendInteger(text, step, 0);
  return text;
}

void TrainingRun(Simulation& simulation, RunHost& host, RunLogs& logs) {
  simulation.ClearStop();
  const int run = logs.StartRun();
  // Read at every use: a handler run in the pump may change them.
  const Parameters& parameters = simulation.parameters();
  // 64 bits: a run left going for days passes 2^31 steps.
  std::int64_t step = 0;
  // Every step's input is drawn into the same buffer: no allocation per step.
  std::vector<double> input;
  while (!simulation.stopRequested()) {
    while (simulation.paused()) host.WaitForMessages();
    if (simulation.stopRequested()) break;  // a Stop during the pause ends it
    host.ShowStep(step);
    if (step % parameters.redrawEvery == 0) host.ShowNeuron(simulation.neuron());
    const bool left = host.LeftTicked();
    const bool right = host.RightTicked();
    DrawTrainingInput(simulation, left, right, input);
    const double y = simulation.neuron().Output(input, true);
    simulation.CountTrainingStep();
    // The threshold already holds this step's squared response: one test catches both.
    if (!std::isfinite(simulation.neuron().Theta())) {
      Diverge(simulation, y);
      break;
    }
    if (step % parameters.logEvery == 0) LogAndProbe(run, step, y, left, right, simulation, logs);
    ++step;
    host.ProcessMessages();
  }
}
