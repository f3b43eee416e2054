#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "RunHost.h"
#include "TrainingRun.h"

// A window stand-in that plays user actions at chosen event pumps, counted from 1 over the whole
// test: with no nesting, pump k ends step k-1 of the run.
class ScriptedHost : public RunHost {
 public:
  void At(int pump, std::function<void()> action) { script_[pump] = std::move(action); }

  void ShowStep(std::int64_t step) override { stepText = StepText(step); }
  void ShowNeuron(const BCMNeuron&) override { redrawnAt.push_back(stepText); }
  bool LeftTicked() const override { return left; }
  bool RightTicked() const override { return right; }
  void ProcessMessages() override {
    const auto action = script_.find(++pumps);
    if (action == script_.end()) return;
    const std::function<void()> run = std::move(action->second);
    script_.erase(action);
    run();
  }

  bool left = true;
  bool right = true;
  int pumps = 0;
  std::string stepText;
  std::vector<std::string> redrawnAt;  // panel 0's text at each redraw

 private:
  std::map<int, std::function<void()>> script_;
};
