#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RunHost;
class RunLogs;

// One training run, the body of the Start button: steps until stopRequested is found set, at
// least once. Each step shows its number, redraws every 50th step, presents one random input to
// the current neuron with learning on, logs and probes every 100th step, then pumps events.
void TrainingRun(RunHost& host, RunLogs& logs);

// One step's input: with probability 0.8 noise to both eyes, else a pattern at a random centre to
// each ticked eye and noise to an unticked one. Draws the uniform number, the centre (pattern
// steps only), the left eye, the right eye, in that order; reads the boxes only on pattern steps.
std::vector<double> DrawTrainingInput(const RunHost& host);

// "step: " followed by the step number, as status panel 0 shows it.
std::string StepText(std::int64_t step);
