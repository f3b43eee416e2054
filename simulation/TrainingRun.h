#pragma once

#include <cstdint>
#include <string>

class RunHost;
class RunLogs;

// One training run, the body of the Start button: steps until stopRequested is found set, at
// least once. Each step shows its number, redraws every 50th step, presents one random input to
// the current neuron with learning on, logs and probes every 100th step, then pumps events.
void TrainingRun(RunHost& host, RunLogs& logs);

// "step: " followed by the step number, as status panel 0 shows it.
std::string StepText(std::int64_t step);
