#include "BatchHost.h"

#include "Interrupts.h"
#include "RunLogs.h"
#include "Simulation.h"
#include "TrainingRun.h"
#include "WeightPlot.h"

namespace {
// Steps are counted into a shared counter in batches, so that jobs do not fight over it.
constexpr std::int64_t kCountMask = (1 << 14) - 1;
}  // namespace

void BatchHost::Run(std::int64_t steps, RunLogs& logs, std::FILE* terminal,
                    const std::string& label) {
  pumps_ = 0;
  stopAt_ = steps;
  if (terminal != nullptr) progress_ = std::make_unique<Progress>(terminal, steps, label);
  TrainingRun(simulation_, *this, logs);
  progress_.reset();
  if (stepCounter_ != nullptr) stepCounter_->fetch_add(pumps_ & kCountMask);
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
  if (stepCounter_ != nullptr && (pumps_ & kCountMask) == 0)
    stepCounter_->fetch_add(kCountMask + 1);
  if (pumps_ == stopAt_ || runtime::TerminationSignal() != 0) simulation_.RequestStop();
}
