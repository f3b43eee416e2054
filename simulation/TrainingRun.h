#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RunHost;
class RunLogs;
class Simulation;

// One training run, the body of the Start button: steps until the simulation's stopRequested is
// found set, at least once, or until a step makes the neuron diverge (see Divergence.h). Each step
// shows its number, redraws every redrawEvery-th step, presents one random input to the
// simulation's neuron with learning on, logs and probes every logEvery-th step, then pumps events.
void TrainingRun(Simulation& simulation, RunHost& host, RunLogs& logs);

// One step's input: noise to both eyes, or, with probability patternRate, a pattern at a random
// centre to each ticked eye. An unticked eye sees noise of the closed-eye amplitude. Draws the
// uniform number, the centre (pattern steps only), the left eye, the right eye, in that order.
// Written over input, resized to both eyes' width, so that a run reuses one buffer every step.
void DrawTrainingInput(Simulation& simulation, bool leftTicked, bool rightTicked,
                       std::vector<double>& input);
// The same input in a new vector.
std::vector<double> DrawTrainingInput(Simulation& simulation, bool leftTicked, bool rightTicked);

// "step: " followed by the step number, as status panel 0 shows it.
std::string StepText(std::int64_t step);
