#include "Session.h"

#include "LogNames.h"
#include "RunHost.h"
#include "StateFile.h"
#include "TrainingRun.h"

Session::Session(std::uint32_t seed, const Parameters& parameters, runtime::GeneratorKind generator)
    : simulation_(seed, parameters, generator), seed_(seed), replay_(seed, parameters, generator) {}

Session::~Session() {
  Close();
}

void Session::Begin(std::uint32_t seed) {
  seed_ = seed;
  simulation_.Reseed(Generator(), seed);
  simulation_.ResetNeuron();
  replay_ = Replay(seed, simulation_.parameters(), Generator());
}

void Session::OpenFiles(SessionFiles files) {
  logs_ = std::make_unique<RunLogs>(files.folder, files.program, std::move(files.space), files.logs,
                                    files.record, files.nameFolder);
  recordName_ = files.nameFolder ? files.folder + "/" + kRunRecordName : kRunRecordName;
  logs_->onCourseRow = [this](const RunLogs::CourseRow& row) {
    lastLogged_ = EyeMaxima{row.maxLeft, row.maxRight};
    if (onCourseRow) onCourseRow(row);
  };
  record_ = std::make_unique<RunRecord>(files.folder, files.program, seed_,
                                        simulation_.parameters(), Generator());
  record_->SetLogs(files.logs);
  replay_.SetLogs(files.logs);
  writeRecord_ = files.record;
  SaveRecord();
}

void Session::NarrowLogs(LogChoice logs) {
  if (!logs_ || logs <= logs_->Choice()) return;
  logs_->Narrow(logs);
  replay_.Impossible("the logging changed during the session");
  record_->NoteLogs(simulation_.trainedSteps(), logs);
  SaveRecord();
}

void Session::Close() {
  if (logs_) logs_->Close();
}

// One message a session, not one per save: the record is rewritten at every action, and on a
// disk that is nearly full some saves succeed between failures.
void Session::SaveRecord() {
  std::string error;
  if (!record_ || !writeRecord_) return;
  recordFailing_ = !record_->Save(error);
  if (recordFailing_ && !recordReported_ && onRecordFailure) {
    recordReported_ = true;
    onRecordFailure("cannot write " + recordName_ + ": " + error);
  }
}

std::string Session::DuringRun() const {
  return runDepth_ == 0 ? "" : " during run " + std::to_string(runs_);
}

void Session::Run(RunHost& host) {
  if (simulation_.diverged()) return;  // until Reset Weights or a load gives a neuron to train
  if (runDepth_ > 0) replay_.Impossible("a run was started" + DuringRun());
  ++runs_;
  const std::uint64_t before = simulation_.trainedSteps();
  if (record_) record_->NoteRun(before, runs_);
  SaveRecord();
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(++d) {}
    ~Depth() { --depth; }
  } depth(runDepth_);
  TrainingRun(simulation_, host, *logs_);
  replay_.AddRun(simulation_.trainedSteps() - before);
  if (record_ && simulation_.diverged()) record_->NoteDivergence(*simulation_.diverged());
  SaveRecord();
}

void Session::SetEyes(bool left, bool right) {
  if (left != left_ || right != right_) {
    if (runDepth_ > 0) replay_.Impossible("an eye changed" + DuringRun());
    if (left != left_) replay_.Add(left ? "left=on" : "left=off");
    if (right != right_) replay_.Add(right ? "right=on" : "right=off");
  }
  left_ = left;
  right_ = right;
  if (!record_) return;
  record_->NoteEyes(simulation_.trainedSteps(), left, right);
  SaveRecord();
}

void Session::ResetWeights() {
  if (runDepth_ > 0) replay_.Impossible("Reset Weights was pressed" + DuringRun());
  replay_.Add("reset");
  simulation_.ResetNeuron();
  if (!record_) return;
  record_->NoteReset(simulation_.trainedSteps());
  SaveRecord();
}

std::vector<ListingRow> Session::Check() {
  if (runDepth_ > 0) replay_.Impossible("Check It Out was pressed" + DuringRun());
  replay_.Add("check");
  return CheckItOutResponses(simulation_);
}

void Session::Reseed(std::uint32_t seed) {
  replay_.Impossible("the seed changed during the session");
  seed_ = seed;
  simulation_.Reseed(Generator(), seed);
  if (!record_) return;
  record_->NoteSeed(simulation_.trainedSteps(), seed);
  SaveRecord();
}

void Session::SetGenerator(runtime::GeneratorKind generator) {
  if (generator == Generator()) return;
  replay_.Impossible("the generator changed during the session");
  simulation_.Reseed(generator, seed_);
  if (!record_) return;
  record_->NoteGenerator(simulation_.trainedSteps(), generator);
  SaveRecord();
}

void Session::SetParameters(const Parameters& parameters) {
  if (parameters != simulation_.parameters()) {
    replay_.Impossible("the parameters changed during the session");
  }
  ApplyParameters(parameters);
}

void Session::SetParameter(const std::string& name, const std::string& value) {
  const ParameterOption* option = FindParameterOption(name);
  Parameters parameters = simulation_.parameters();
  if (option == nullptr || !option->set(parameters, value)) {
    throw std::invalid_argument("no parameter " + name + "=" + value);
  }
  if (runDepth_ > 0) replay_.Impossible("a parameter was set" + DuringRun());
  replay_.Add(name + "=" + value);
  ApplyParameters(parameters);
}

void Session::ApplyParameters(const Parameters& parameters) {
  simulation_.SetParameters(parameters);
  if (!record_) return;
  record_->NoteParameters(simulation_.trainedSteps(), parameters);
  SaveRecord();
}

bool Session::SaveState(const std::string& path, std::string& error) const {
  return ::SaveState(path, simulation_.Save(left_, right_), error);
}

std::string Session::LoadState(const std::string& path, const ParametersFor& parametersFor) {
  const runtime::Read<Simulation::Saved> read = ReadStateFile(path);
  if (!read) return read.Error();
  const Simulation::Saved& saved = *read;
  Parameters parameters;
  try {
    parameters = parametersFor ? parametersFor(saved) : saved.parameters;
    simulation_.Restore(saved, parameters);
  } catch (const std::exception& error) {
    return error.what();
  }
  if (runDepth_ > 0) replay_.Impossible("a state was loaded" + DuringRun());
  replay_.AddLoad(path);
  left_ = saved.left;
  right_ = saved.right;
  if (!record_) return "";
  const std::uint64_t at = simulation_.trainedSteps();
  record_->NoteLoad(at, path);
  record_->NoteEyes(at, left_, right_);
  record_->NoteParameters(at, parameters);
  record_->NoteGenerator(at, Generator());
  SaveRecord();
  return "";
}

void Session::SetActions(std::vector<std::string> actions) {
  if (!record_) return;
  record_->SetActions(std::move(actions));
  SaveRecord();
}
