#include "BatchHost.h"

#include "Interrupts.h"
#include "RunLogs.h"
#include "Simulation.h"
#include "TrainingRun.h"
#include "WeightPlot.h"

void BatchHost::Run(std::int64_t steps, RunLogs& logs, std::FILE* terminal) {
  pumps_ = 0;
  stopAt_ = steps;
  if (terminal != nullptr) progress_ = std::make_unique<Progress>(terminal, steps);
  TrainingRun(simulation_, *this, logs);
  progress_.reset();
}

void BatchHost::ShowNeuron(const BCMNeuron& shown) {
  // Only the last drawing is ever looked at, so only that one is rasterised.
  DeferWeightPlot(shown, canvas_);
}

const Bitmap& BatchHost::Plot() {
  canvas_.Flush();
  return plot_;
}

void BatchHost::ProcessMessages() {
  ++pumps_;
  if (progress_) progress_->Update(pumps_);
  if (pumps_ == stopAt_ || runtime::TerminationSignal() != 0) simulation_.RequestStop();
}
