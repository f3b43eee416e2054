#include "BatchSession.h"

#include "CourseChart.h"
#include "Interrupts.h"
#include "MeanWeights.h"
#include "PngFile.h"
#include "SessionCourse.h"

BatchSession::BatchSession(const BatchOptions& options, std::FILE* terminal, std::FILE* listing)
    : options_(options),
      terminal_(terminal),
      listing_(listing),
      session_(options.seed, options.parameters, options.generator),
      host_(session_) {
  // The window's start-up: seed, first neuron drawn, logs opened.
  host_.ShowNeuron(session_.simulation().neuron());
  session_.onRecordFailure = [this](const std::string& problem) { Fail(problem); };
  session_.onCourseRow = [this](const RunLogs::CourseRow& row) {
    if (!options_.course.empty()) course_.push_back(PointOf(row));
  };
  session_.OpenFiles({options.directory, "orvel-batch", options.record, std::nullopt, options.logs,
                      options.nameFolder});
  std::vector<std::string> words;
  for (const Action& action : options.actions) {
    words.push_back(action.word);
    if (action.kind == Action::Kind::Run) ++runCount_;
  }
  session_.SetActions(words);
  logBytes_ = LogBytesText(ScriptLogBytes(options, options.parameters));
}

void BatchSession::StopOn(const StopSignal* stop) {
  stop_ = stop;
  host_.interrupted = [stop] { return stop->Signal() != 0; };
}

int BatchSession::Signal() const {
  return stop_ != nullptr ? stop_->Signal() : runtime::TerminationSignal();
}

int BatchSession::Play() {
  for (const Action& action : options_.actions) {
    if (Signal() != 0 || status_ == 2) break;
    Perform(action);
    if (session_.simulation().diverged()) break;  // what follows would only play with NaN
  }
  Finish();
  if (const int signal = Signal(); signal != 0) return 128 + signal;
  const int failed = status_ != 0 ? status_ : session_.Logs()->Failed() ? 1 : 0;
  if (const auto& diverged = session_.simulation().diverged()) {
    const std::string unit = options_.nameFolder ? options_.directory + ": " : "";
    ReportError(unit + DivergenceText(*diverged) + ": try a lower --rate");
    if (failed == 0) return kDivergedStatus;
  }
  return failed;
}

void BatchSession::Perform(const Action& action) {
  switch (action.kind) {
    case Action::Kind::Run:
      host_.Run(action.steps, terminal_,
                "run " + std::to_string(session_.Runs() + 1) + " of " + std::to_string(runCount_) +
                    "  " + logBytes_);
      break;
    case Action::Kind::Check:
      Check(action);
      break;
    case Action::Kind::Reset:
      session_.ResetWeights();
      host_.ShowNeuron(session_.simulation().neuron());
      break;
    case Action::Kind::Left:
      session_.SetEyes(action.on, session_.Right());
      break;
    case Action::Kind::Right:
      session_.SetEyes(session_.Left(), action.on);
      break;
    case Action::Kind::Save:
      SaveState(action);
      break;
    case Action::Kind::Load:
      Load(action);
      break;
    case Action::Kind::Set:  // its value was checked with the command line
      session_.SetParameter(action.name, action.value);
      break;
  }
}

void BatchSession::Check(const Action& action) {
  const std::vector<ListingRow> rows = session_.Check();
  for (const std::string& line : ListingLines(rows)) std::fprintf(listing_, "%s\n", line.c_str());
  if (!onCheck) return;
  const Simulation& simulation = session_.simulation();
  const EyeMeanWeights means = MeanWeightsOf(simulation.neuron());
  onCheck({action.name, simulation.trainedSteps(), session_.LastLogged(), rows,
           simulation.neuron().Theta(), means.left, means.right});
}

// As Reset Weights replaces the neuron, a load replaces the whole simulation's state.
void BatchSession::Load(const Action& action) {
  const std::string problem = session_.LoadState(
      action.file,
      [this](const Simulation::Saved& saved) { return ParametersAfterLoad(saved, options_); });
  if (!problem.empty()) {
    Fail(action.file + ": " + problem);
    status_ = 2;
    return;
  }
  if (options_.reseed) {
    // Both streams anew, from pcg32, whose seeds give unrelated streams.
    session_.SetGenerator(runtime::GeneratorKind::kPcg32);
    session_.Reseed(options_.seed);
  }
  host_.ShowNeuron(session_.simulation().neuron());
}

void BatchSession::SaveState(const Action& action) {
  std::string error;
  if (!session_.SaveState(action.file, error)) Fail("cannot save " + action.file + ": " + error);
}

// The window's shut-down, then the pictures of how it ended.
void BatchSession::Finish() {
  session_.Close();
  std::string error;
  if (!options_.plot.empty() && !WritePng(options_.plot, host_.Plot(), error)) {
    Fail("cannot write " + options_.plot + ": " + error);
  }
  if (options_.course.empty()) return;
  const Simulation& simulation = session_.simulation();
  const Course course{
      course_,
      EventsOf(session_.Record().Events(), static_cast<std::int64_t>(simulation.trainedSteps())),
      CaptionOf(options_.seed, simulation.parameters(), session_.Record().Events())};
  if (!WriteCourseChart(course, options_.course, options_.courseWidth, options_.courseHeight,
                        error)) {
    Fail("cannot write " + options_.course + ": " + error);
  }
}

void BatchSession::Fail(const std::string& message) {
  ReportError(message);
  if (status_ == 0) status_ = 1;
}
