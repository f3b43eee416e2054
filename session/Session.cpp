#include "Session.h"

#include "LogNames.h"
#include "RunHost.h"
#include "StateFile.h"
#include "TrainingRun.h"

Session::Session(std::uint32_t seed, const Parameters& parameters)
    : simulation_(seed, parameters), seed_(seed) {}

Session::~Session() {
  Close();
}

void Session::OpenFiles(SessionFiles files) {
  logs_ = std::make_unique<RunLogs>(files.folder, files.program, std::move(files.space), files.logs,
                                    files.record, files.nameFolder);
  recordName_ = files.nameFolder ? files.folder + "/" + kRunRecordName : kRunRecordName;
  logs_->onCourseRow = [this](const RunLogs::CourseRow& row) {
    lastLogged_ = EyeMaxima{row.maxLeft, row.maxRight};
    if (onCourseRow) onCourseRow(row);
  };
  record_ =
      std::make_unique<RunRecord>(files.folder, files.program, seed_, simulation_.parameters());
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
  simulation_.generator().srand(seed);
  if (!record_) return;
  record_->NoteSeed(simulation_.trainedSteps(), seed);
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
  SaveRecord();
  return "";
}

void Session::SetActions(std::vector<std::string> actions) {
  if (!record_) return;
  record_->SetActions(std::move(actions));
  SaveRecord();
}
