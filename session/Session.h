#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FreeSpaceGuard.h"
#include "LogChoice.h"
#include "Parameters.h"
#include "Probe.h"
#include "Replay.h"
#include "RunLogs.h"
#include "RunRecord.h"
#include "Simulation.h"

class RunHost;

// Where a session writes, and the name it signs with.
struct SessionFiles {
  std::string folder;                   // "" for the working directory
  std::string program = "orvel";        // in run.json and at the start of every message
  bool record = true;                   // run.json and course.csv beside the seven logs
  std::optional<FreeSpaceGuard> space;  // the folder's free space, the system's unless given
  LogChoice logs = LogChoice::kAll;     // which logs beside run.json
  bool nameFolder = false;  // messages name files with their folder: ensemble units share stderr
};

// One simulation with its logs and its record, and every action a user can take on it. Each
// action notes itself in run.json as it happens, so that the record always tells how the logs
// came about. The window, orvel-batch and the Python module drive it; none of them keeps a
// simulation or a file of its own.
class Session {
 public:
  // Seeds the generator and draws the first neuron; no file is written before OpenFiles. Throws
  // std::invalid_argument when ParameterProblem(parameters) is not empty.
  Session(std::uint32_t seed, const Parameters& parameters,
          runtime::GeneratorKind generator = runtime::GeneratorKind::kClassic);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  // Starts again from seed, as the constructor does: the window learns its seed only once it
  // is made. Before OpenFiles only.
  void Begin(std::uint32_t seed);
  // Creates the logs afresh and writes run.json.
  void OpenFiles(SessionFiles files);
  // Writes every pending log line and closes the logs, once.
  void Close();

  Simulation& simulation() { return simulation_; }
  const Simulation& simulation() const { return simulation_; }
  std::uint32_t Seed() const { return seed_; }
  runtime::GeneratorKind Generator() const { return simulation_.generatorKind(); }
  bool Left() const { return left_; }
  bool Right() const { return right_; }

  // Trains with host until the host, a Stop or a divergence ends the run; a run started inside
  // it, from the host's event pump, nests. The record notes the run before it starts and is
  // saved after. Does nothing while the neuron has diverged.
  void Run(RunHost& host);
  // Ends every run, a paused one too.
  void Stop() {
    simulation_.RequestStop();
    simulation_.SetPaused(false);
  }
  void TogglePause() { simulation_.TogglePause(); }
  // Runs so far, nested ones included.
  int Runs() const { return runs_; }

  // What each eye sees from the next step on.
  void SetEyes(bool left, bool right);
  // A fresh neuron drawn from the generator; a run going on continues with it.
  void ResetWeights();
  // The listing's responses; the neuron does not learn from them.
  std::vector<ListingRow> Check();
  // The generator restarts from seed.
  void Reseed(std::uint32_t seed);
  // The streams restart from the session's seed with this kind of generator, as a reseed does;
  // the generator in use changes nothing.
  void SetGenerator(runtime::GeneratorKind generator);
  // Throws std::invalid_argument, changing nothing, when ParameterProblem(parameters) is not
  // empty. The neuron's constants wait for the next ResetWeights.
  void SetParameters(const Parameters& parameters);
  // One parameter, as the action NAME=VALUE sets it: between runs, a replay repeats the action.
  // Throws std::invalid_argument, changing nothing, for an unknown name or a bad value.
  void SetParameter(const std::string& name, const std::string& value);

  // Writes the state whole; false with a one-line reason in error.
  bool SaveState(const std::string& path, std::string& error) const;
  // Chooses the parameters a loaded state continues with; its own when not given.
  using ParametersFor = std::function<Parameters(const Simulation::Saved&)>;
  // Continues the state saved at path, eyes included; "" when it does, else the reason in one
  // line (not naming the file), with nothing changed.
  std::string LoadState(const std::string& path, const ParametersFor& parametersFor = {});

  // Writes less from the next logged step on (see RunLogs::Narrow), as the record notes.
  void NarrowLogs(LogChoice logs);

  // orvel-batch: its actions as given, for the record.
  void SetActions(std::vector<std::string> actions);
  const RunRecord& Record() const { return *record_; }
  // The orvel-batch command that replays this session so far, or why there is none.
  const Replay& ReplayCommand() const { return replay_; }
  // Whether the last write of run.json failed.
  bool RecordFailing() const { return recordFailing_; }
  // Null before OpenFiles.
  RunLogs* Logs() { return logs_.get(); }
  const RunLogs* Logs() const { return logs_.get(); }
  // The probe maxima of the latest logged step; none before the first.
  const std::optional<EyeMaxima>& LastLogged() const { return lastLogged_; }

  // Told of every course row as it is logged, on the run's thread.
  std::function<void(const RunLogs::CourseRow&)> onCourseRow;
  // Told when run.json cannot be written, with a one-line reason; once a session, however often
  // the record is rewritten.
  std::function<void(const std::string& problem)> onRecordFailure;

 private:
  void SaveRecord();
  void ApplyParameters(const Parameters& parameters);
  // "" between runs, else the run an action happens in.
  std::string DuringRun() const;

  Simulation simulation_;
  std::uint32_t seed_;
  bool left_ = true, right_ = true;
  int runs_ = 0;
  int runDepth_ = 0;
  Replay replay_;
  bool writeRecord_ = false;
  bool recordFailing_ = false;
  bool recordReported_ = false;
  std::string recordName_;  // as messages name it
  std::unique_ptr<RunRecord> record_;
  std::unique_ptr<RunLogs> logs_;
  std::optional<EyeMaxima> lastLogged_;
};
