#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Bitmap.h"
#include "Canvas.h"
#include "Progress.h"
#include "RunHost.h"

class Session;

// Plays the window's part for a scripted session: the eye boxes as the script last set them, a
// Stop pressed during the pump of a run's last step, and the plot kept as the window would last
// have drawn it.
class BatchHost : public RunHost {
 public:
  explicit BatchHost(Session& session);

  // A run of exactly steps steps; a progress bar on terminal, named label, unless it is null.
  void Run(std::int64_t steps, std::FILE* terminal, const std::string& label);

  // Adds the steps taken to counter now and then, for a progress bar over many sessions.
  void CountStepsInto(std::atomic<std::int64_t>* counter) { stepCounter_ = counter; }

  // Asked every 1024 steps whether the run must end now, as a Stop would end it: a driver's own
  // interruption (the Python module's Ctrl-C). Unset, the runs end only as the script says.
  std::function<bool()> interrupted;

  // The weight plot as last drawn.
  const Bitmap& Plot();

  void ShowStep(std::int64_t) override {}
  void ShowNeuron(const BCMNeuron& shown) override;
  bool LeftTicked() const override;
  bool RightTicked() const override;
  void ProcessMessages() override;

 private:
  Session& session_;
  Bitmap plot_;
  TCanvas canvas_;
  std::int64_t pumps_ = 0;
  std::int64_t stopAt_ = 0;
  std::unique_ptr<Progress> progress_;
  std::atomic<std::int64_t>* stepCounter_ = nullptr;
};
