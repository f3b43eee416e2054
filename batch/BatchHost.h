#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "Bitmap.h"
#include "Canvas.h"
#include "Progress.h"
#include "RunHost.h"

class RunLogs;
class Simulation;

// Plays the window's part for a scripted session: the eye boxes as the script last set them, a
// Stop pressed during the pump of a run's last step, and the plot kept as the window would last
// have drawn it.
class BatchHost : public RunHost {
 public:
  explicit BatchHost(Simulation& simulation)
      : simulation_(simulation), plot_(369, 121), canvas_(plot_) {}

  // A run of exactly steps steps; a progress bar on terminal, named label, unless it is null.
  void Run(std::int64_t steps, RunLogs& logs, std::FILE* terminal, const std::string& label);

  // Adds the steps taken to counter now and then, for a progress bar over many sessions.
  void CountStepsInto(std::atomic<std::int64_t>* counter) { stepCounter_ = counter; }

  void SetLeft(bool ticked) { left_ = ticked; }
  void SetRight(bool ticked) { right_ = ticked; }

  // The weight plot as last drawn.
  const Bitmap& Plot();

  void ShowStep(std::int64_t) override {}
  void ShowNeuron(const BCMNeuron& shown) override;
  bool LeftTicked() const override { return left_; }
  bool RightTicked() const override { return right_; }
  void ProcessMessages() override;

 private:
  Simulation& simulation_;
  Bitmap plot_;
  TCanvas canvas_;
  bool left_ = true;
  bool right_ = true;
  std::int64_t pumps_ = 0;
  std::int64_t stopAt_ = 0;
  std::unique_ptr<Progress> progress_;
  std::atomic<std::int64_t>* stepCounter_ = nullptr;
};
