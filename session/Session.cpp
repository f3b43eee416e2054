#include "Session.h"

#include "LogNames.h"
#include "RunHost.h"
#include "StateFile.h"
#include "TrainingRun.h"

Session::Session(std::uint32_t seed, const Parameters& parameters, runtime::GeneratorKind generator)
    : simulation_(seed, parameters, generator), seed_(seed) {}

Session::~Session() {
  Close();
}

void Session::OpenFiles(SessionFiles files) {
  logs_ = std::make_unique<RunLogs>(files.folder, files.program, std::move(files.space), files.logs,
                                    files.record);
  logs_->onCourseRow = [this](const RunLogs::CourseRow& row) {
    lastLogged_ = EyeMaxima{row.maxLeft, row.maxRight};
    if (onCourseRow) onCourseRow(row);
  };
  record_ = std::make_unique<RunRecord>(files.folder, files.program, seed_,
                                        simulation_.parameters(), Generator());
  record_->SetLogs(files.logs);
  writeRecord_ = files.record;
  SaveRecord();
}

void Session::NarrowLogs(LogChoice logs) {
  if (!logs_ || logs <= logs_->Choice()) return;
  logs_->Narrow(logs);
  record_->NoteLogs(simulation_.trainedSteps(), logs);
  SaveRecord();
}

void Session::Close() {
  if (logs_) logs_->Close();
}

// One message per failure, not one per save: the record is rewritten at every action.
void Session::SaveRecord() {
  std::string error;
  if (!record_ || !writeRecord_) return;
  const bool failedBefore = recordFailing_;
  recordFailing_ = !record_->Save(error);
  if (recordFailing_ && !failedBefore && onRecordFailure) {
    onRecordFailure(std::string("cannot write ") + kRunRecordName + ": " + error);
  }
}

void Session::Run(RunHost& host) {
  ++runs_;
  if (record_) record_->NoteRun(simulation_.trainedSteps(), runs_);
  SaveRecord();
  TrainingRun(simulation_, host, *logs_);
  SaveRecord();
}

void Session::SetEyes(bool left, bool right) {
  left_ = left;
  right_ = right;
  if (!record_) return;
  record_->NoteEyes(simulation_.trainedSteps(), left, right);
  SaveRecord();
}

void Session::ResetWeights() {
  simulation_.ResetNeuron();
  if (!record_) return;
  record_->NoteReset(simulation_.trainedSteps());
  SaveRecord();
}

std::vector<ListingRow> Session::Check() {
  return CheckItOutResponses(simulation_);
}

void Session::Reseed(std::uint32_t seed) {
  seed_ = seed;
  simulation_.Reseed(Generator(), seed);
  if (!record_) return;
  record_->NoteSeed(simulation_.trainedSteps(), seed);
  SaveRecord();
}

void Session::SetGenerator(runtime::GeneratorKind generator) {
  if (generator == Generator()) return;
  simulation_.Reseed(generator, seed_);
  if (!record_) return;
  record_->NoteGenerator(simulation_.trainedSteps(), generator);
  SaveRecord();
}

void Session::SetParameters(const Parameters& parameters) {
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
