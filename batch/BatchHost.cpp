#include "BatchHost.h"

#include "Interrupts.h"
#include "Session.h"
#include "WeightPlot.h"

namespace {
// The bar is redrawn, and steps are counted into the ensemble's shared counter, every 2^14 steps:
// often enough to look live, rarely enough that jobs do not fight over the counter.
constexpr std::int64_t kCheckMask = (1 << 14) - 1;
// A thousand steps take tens of microseconds, so an interruption is seen at once, and asking a
// function that seldom does more than look at a clock costs nothing measurable.
constexpr std::int64_t kInterruptMask = (1 << 10) - 1;
}  // namespace

BatchHost::BatchHost(Session& session)
    : session_(session), plot_(kPlotWidth, kPlotHeight), canvas_(plot_) {}

void BatchHost::Run(std::int64_t steps, std::FILE* terminal, const std::string& label) {
  pumps_ = 0;
  stopAt_ = steps;
  if (terminal != nullptr) progress_ = std::make_unique<Progress>(terminal, steps, label);
  session_.Run(*this);
  progress_.reset();
  if (stepCounter_ != nullptr) stepCounter_->fetch_add(pumps_ & kCheckMask);
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
  if ((pumps_ & kCheckMask) == 0) {
    if (progress_) progress_->Draw(pumps_);
    if (stepCounter_ != nullptr) stepCounter_->fetch_add(kCheckMask + 1);
  }
  if ((pumps_ & kInterruptMask) == 0 && interrupted && interrupted()) session_.Stop();
  if (pumps_ == stopAt_ || runtime::TerminationSignal() != 0) session_.Stop();
}

bool BatchHost::LeftTicked() const {
  return session_.Left();
}

bool BatchHost::RightTicked() const {
  return session_.Right();
}
