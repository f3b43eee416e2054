#include "Batch.h"

#include <unistd.h>

#include <cstdio>

#include "BatchHost.h"
#include "Interrupts.h"
#include "PngFile.h"
#include "Probe.h"
#include "RunLogs.h"
#include "Simulation.h"

namespace {
void Perform(const Action& action, Simulation& simulation, BatchHost& host, RunLogs& logs,
             std::FILE* terminal) {
  switch (action.kind) {
    case Action::Kind::Run:
      host.Run(action.steps, logs, terminal);
      break;
    case Action::Kind::Check:
      for (const std::string& line : CheckItOutListing(simulation)) {
        std::printf("%s\n", line.c_str());
      }
      break;
    case Action::Kind::Reset:
      simulation.ResetNeuron();
      host.ShowNeuron(simulation.neuron);
      break;
    case Action::Kind::Left:
      host.SetLeft(action.on);
      break;
    case Action::Kind::Right:
      host.SetRight(action.on);
      break;
  }
}
}  // namespace

int RunBatch(const BatchOptions& options) {
  std::FILE* terminal = !options.quiet && ::isatty(STDERR_FILENO) ? stderr : nullptr;
  // The window's start-up: seed, first neuron drawn, logs opened.
  Simulation simulation(options.seed, options.parameters);
  BatchHost host(simulation);
  host.ShowNeuron(simulation.neuron);
  RunLogs logs(options.directory, "orvel-batch");
  runtime::CatchTerminationSignals();
  for (const Action& action : options.actions) {
    if (runtime::TerminationSignal() != 0) break;
    Perform(action, simulation, host, logs, terminal);
  }
  // The window's shut-down.
  logs.Close();
  int status = logs.Failed() ? 1 : 0;
  std::string error;
  if (!options.plot.empty() && !WritePng(options.plot, host.Plot(), error)) {
    std::fprintf(stderr, "orvel-batch: cannot write %s: %s\n", options.plot.c_str(), error.c_str());
    status = 1;
  }
  if (const int signal = runtime::TerminationSignal(); signal != 0) {
    std::fputs("orvel-batch: interrupted; the logs end at the last logged step\n", stderr);
    status = 128 + signal;
  }
  return status;
}
