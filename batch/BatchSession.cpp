#include "BatchSession.h"

#include "CourseChart.h"
#include "Interrupts.h"
#include "PngFile.h"
#include "Probe.h"
#include "SessionCourse.h"
#include "StateFile.h"

BatchSession::BatchSession(const BatchOptions& options, std::FILE* terminal, std::FILE* listing)
    : options_(options),
      terminal_(terminal),
      listing_(listing),
      simulation_(options.seed, options.parameters),
      host_(simulation_),
      record_(options.directory, "orvel-batch", options.seed, options.parameters),
      logs_(options.directory, "orvel-batch", std::nullopt, options.record) {
  // The window's start-up: seed, first neuron drawn, logs opened.
  host_.ShowNeuron(simulation_.neuron());
  std::vector<std::string> words;
  for (const Action& action : options.actions) {
    words.push_back(action.word);
    if (action.kind == Action::Kind::Run) ++runCount_;
  }
  record_.SetActions(words);
  logs_.onCourseRow = [this](const RunLogs::CourseRow& row) {
    logged_ = EyeMaxima{row.maxLeft, row.maxRight};
    if (!options_.course.empty()) course_.push_back(PointOf(row));
  };
  SaveRecord();
}

int BatchSession::Play() {
  for (const Action& action : options_.actions) {
    if (runtime::TerminationSignal() != 0 || status_ == 2) break;
    Perform(action);
    SaveRecord();
  }
  Finish();
  if (const int signal = runtime::TerminationSignal(); signal != 0) return 128 + signal;
  return status_ != 0 ? status_ : logs_.Failed() ? 1 : 0;
}

void BatchSession::Perform(const Action& action) {
  switch (action.kind) {
    case Action::Kind::Run:
      record_.NoteRun(simulation_.trainedSteps(), ++runs_);
      host_.Run(action.steps, logs_, terminal_,
                "run " + std::to_string(runs_) + " of " + std::to_string(runCount_));
      break;
    case Action::Kind::Check:
      Check();
      break;
    case Action::Kind::Reset:
      simulation_.ResetNeuron();
      host_.ShowNeuron(simulation_.neuron());
      record_.NoteReset(simulation_.trainedSteps());
      break;
    case Action::Kind::Left:
      host_.SetLeft(action.on);
      record_.NoteEyes(simulation_.trainedSteps(), host_.LeftTicked(), host_.RightTicked());
      break;
    case Action::Kind::Right:
      host_.SetRight(action.on);
      record_.NoteEyes(simulation_.trainedSteps(), host_.LeftTicked(), host_.RightTicked());
      break;
    case Action::Kind::Save:
      SaveState(action);
      break;
    case Action::Kind::Load:
      Load(action);
      break;
  }
}

void BatchSession::Check() {
  const std::vector<ListingRow> rows = CheckItOutResponses(simulation_);
  int centre = 0;
  for (const ListingRow& row : rows) {
    std::fprintf(listing_, "%s\n", ListingLine(centre++, row.yLeft, row.yRight, row.y).c_str());
  }
  if (onCheck) onCheck(simulation_.trainedSteps(), logged_, rows);
}

// As Reset Weights replaces the neuron, a load replaces the whole simulation's state.
void BatchSession::Load(const Action& action) {
  try {
    const Simulation::Saved saved = LoadState(action.file);
    const Parameters parameters = ParametersAfterLoad(saved, options_);
    simulation_.Restore(saved, parameters);
    host_.SetLeft(saved.left);
    host_.SetRight(saved.right);
    host_.ShowNeuron(simulation_.neuron());
    record_.NoteLoad(simulation_.trainedSteps(), action.file);
    record_.NoteEyes(simulation_.trainedSteps(), saved.left, saved.right);
    record_.NoteParameters(simulation_.trainedSteps(), parameters);
  } catch (const std::exception& error) {
    Fail(action.file + ": " + error.what());
    status_ = 2;
  }
}

void BatchSession::SaveState(const Action& action) {
  std::string error;
  const auto saved = simulation_.Save(host_.LeftTicked(), host_.RightTicked());
  if (!::SaveState(action.file, saved, error)) Fail("cannot save " + action.file + ": " + error);
}

void BatchSession::SaveRecord() {
  std::string error;
  if (options_.record && !record_.Save(error)) Fail("cannot write run.json: " + error);
}

// The window's shut-down, then the pictures of how it ended.
void BatchSession::Finish() {
  logs_.Close();
  std::string error;
  if (!options_.plot.empty() && !WritePng(options_.plot, host_.Plot(), error)) {
    Fail("cannot write " + options_.plot + ": " + error);
  }
  if (options_.course.empty()) return;
  const Course course{
      course_, EventsOf(record_.Events(), static_cast<std::int64_t>(simulation_.trainedSteps())),
      CaptionOf(options_.seed, simulation_.parameters())};
  if (!WriteCourseChart(course, options_.course, options_.courseWidth, options_.courseHeight,
                        error)) {
    Fail("cannot write " + options_.course + ": " + error);
  }
}

void BatchSession::Fail(const std::string& message) {
  ReportError(message);
  if (status_ == 0) status_ = 1;
}
