#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BatchHost.h"
#include "BatchOptions.h"
#include "CheckTable.h"
#include "Course.h"
#include "Probe.h"
#include "Session.h"
#include "StopSignal.h"

// One scripted session, played as the window would: start-up with the seed, the actions in order,
// shut-down. It owns everything it writes, so sessions in different threads share nothing.
inline constexpr int kDivergedStatus = 3;

class BatchSession {
 public:
  // terminal: where a progress bar goes (null: none); listing: where Check It Out prints.
  BatchSession(const BatchOptions& options, std::FILE* terminal, std::FILE* listing);

  // Plays every action, or those before a termination signal or a divergence; returns the exit
  // status: 0; 1 when a line or a file could not be written; 2 when a state saved earlier in the
  // session cannot be loaded; else kDivergedStatus when a run diverged; 128 plus the signal's
  // number when interrupted.
  int Play();

  // Told of every Check It Out and what it saw.
  std::function<void(const CheckMoment& moment)> onCheck;
  // Adds the steps of every run to counter as they are taken.
  void CountStepsInto(std::atomic<std::int64_t>* counter) { host_.CountStepsInto(counter); }
  // Ends the session once stop has a signal; unset, only the process's signals end it.
  void StopOn(const StopSignal* stop);

 private:
  void Perform(const Action& action);
  void Check(const Action& action);
  void Load(const Action& action);
  void SaveState(const Action& action);
  void Finish();
  void Fail(const std::string& message);
  int Signal() const;

  const BatchOptions& options_;
  std::FILE* terminal_;
  std::FILE* listing_;
  Session session_;
  BatchHost host_;
  std::vector<CoursePoint> course_;
  int runCount_ = 0;      // run actions in the script
  std::string logBytes_;  // for the progress bar: what the whole script's logs will take
  int status_ = 0;
  const StopSignal* stop_ = nullptr;
};
