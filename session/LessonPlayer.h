#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Lesson.h"
#include "Probe.h"

// What a lesson asks of the window it plays in: each action as its control would do it.
class LessonHost {
 public:
  virtual ~LessonHost() = default;
  // Trains for steps steps, fewer when a Stop or the window's closing ends the run first;
  // returns the steps trained.
  virtual std::int64_t RunLessonSteps(std::int64_t steps) = 0;
  // Check It Out, shown in the listing.
  virtual std::vector<ListingRow> CheckListing() = 0;
  // Any other action; "" when done, else why not, in one line.
  virtual std::string Perform(const Action& action) = 0;
  // Whether the window is closing: the lesson then ends where it is.
  virtual bool Closing() const = 0;
};

// The student's own numbers at one of the lesson's checks.
struct LessonNumbers {
  std::string check;       // its name, or "check 2" for the second unnamed one
  std::int64_t step = 0;   // of the lesson's training
  EyeMaxima largest{};     // each eye's largest response in the listing
  double dominance = 0.0;  // OcularDominance of those; NaN when neither eye responds
};

// What the lesson panel shows.
class LessonView {
 public:
  virtual ~LessonView() = default;
  virtual void ShowPhase(const Lesson::Phase& phase, std::size_t number, std::size_t phases) = 0;
  virtual void ShowRun(std::int64_t steps) = 0;
  virtual void Ask(const std::string& question) = 0;
  virtual void ShowStopped(std::int64_t stepsLeft) = 0;
  virtual void ShowFailure(const std::string& why) = 0;
  // The lesson's closing paragraphs, and the numbers of its checks.
  virtual void ShowEnd(const std::vector<std::string>& ending,
                       const std::vector<LessonNumbers>& numbers) = 0;
};

// Plays a lesson's steps in order, a run at a time, until a checkpoint asks its question or a
// Stop ends a run early; Play goes on from there, with the steps of a stopped run that are left,
// so that a lesson stopped and continued still trains exactly as its file says.
class LessonPlayer {
 public:
  enum class State { kReady, kPlaying, kAsking, kStopped, kFailed, kEnded };

  LessonPlayer(Lesson lesson, LessonHost& host, LessonView& view);

  // Plays on, unless playing already or over.
  void Play();
  // Plays nothing more, even after the run going on returns.
  void Abandon() { abandoned_ = true; }
  State state() const { return state_; }
  const Lesson& lesson() const { return lesson_; }

 private:
  bool PlayRun();
  bool Act(const Action& action);
  void Check(const Action& action);

  Lesson lesson_;
  LessonHost& host_;
  LessonView& view_;
  State state_ = State::kReady;
  bool abandoned_ = false;
  std::size_t next_ = 0;
  std::int64_t runLeft_ = 0;
  std::int64_t trained_ = 0;
  int unnamedChecks_ = 0;
  std::vector<LessonNumbers> numbers_;
};
