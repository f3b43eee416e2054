#include "LessonPlayer.h"

#include <utility>

#include "OcularDominance.h"

LessonPlayer::LessonPlayer(Lesson lesson, LessonHost& host, LessonView& view)
    : lesson_(std::move(lesson)), host_(host), view_(view) {}

void LessonPlayer::Play() {
  if (state_ == State::kPlaying || state_ == State::kFailed || state_ == State::kEnded) return;
  state_ = State::kPlaying;
  while (!abandoned_) {
    if (runLeft_ > 0 && !PlayRun()) return;
    if (next_ == lesson_.steps.size()) {
      state_ = State::kEnded;
      view_.ShowEnd(lesson_.ending, numbers_);
      return;
    }
    const Lesson::Step& step = lesson_.steps[next_++];
    if (step.kind == Lesson::Step::Kind::kPhase) {
      view_.ShowPhase(lesson_.phases[step.phase], step.phase + 1, lesson_.phases.size());
    } else if (step.kind == Lesson::Step::Kind::kAsk) {
      state_ = State::kAsking;
      view_.Ask(step.question);
      return;
    } else if (!Act(step.action)) {
      return;
    }
  }
}

// False when the run did not end as the lesson says, and the lesson waits.
bool LessonPlayer::PlayRun() {
  view_.ShowRun(runLeft_);
  const std::int64_t trained = host_.RunLessonSteps(runLeft_);
  runLeft_ -= trained;
  trained_ += trained;
  if (abandoned_ || host_.Closing()) return false;
  if (runLeft_ == 0) return true;
  state_ = State::kStopped;
  view_.ShowStopped(runLeft_);
  return false;
}

// False when the action failed, and the lesson with it.
bool LessonPlayer::Act(const Action& action) {
  if (action.kind == Action::Kind::Run) {
    runLeft_ = action.steps;
    return true;
  }
  if (action.kind == Action::Kind::Check) {
    Check(action);
    return true;
  }
  const std::string problem = host_.Perform(action);
  if (problem.empty()) return true;
  state_ = State::kFailed;
  view_.ShowFailure(action.word + ": " + problem);
  return false;
}

void LessonPlayer::Check(const Action& action) {
  const std::vector<ListingRow> rows = host_.CheckListing();
  LessonNumbers numbers;
  numbers.check = action.name.empty() ? "check " + std::to_string(++unnamedChecks_) : action.name;
  numbers.step = trained_;
  numbers.largest = ListingMaxima(rows);
  numbers.dominance = OcularDominance(numbers.largest.maxLeft, numbers.largest.maxRight);
  numbers_.push_back(std::move(numbers));
}
