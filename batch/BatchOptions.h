#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Action.h"
#include "CommandLine.h"
#include "CourseChart.h"
#include "EnsemblePlan.h"
#include "EnsembleRecord.h"
#include "LogChoice.h"
#include "Parameters.h"
#include "Simulation.h"
#include "SummaryPlot.h"

// Many sessions of the same actions, one per unit of the plan, each in a folder of its own.
struct EnsembleOptions {
  EnsemblePlan plan;
  unsigned jobs = 1;                  // units played at once, one thread each
  std::size_t shard = 1, shards = 1;  // this process plays units shard, shard + shards, ...
  bool force = false;                 // replace another command's ensemble, redo complete units
  std::string courseFormat = "png";
  bool courses = false;                  // --summarize --courses: courses.csv too
  ErrorBars errorBars = ErrorBars::kSd;  // the summary figure's
  EnsembleRecord record;                 // what makes this ensemble, as recorded in its folder
};

struct BatchOptions {
  bool help = false;
  bool version = false;
  std::uint32_t seed = 0;
  std::string directory = ".";
  std::string plot;    // empty: no plot file
  std::string course;  // empty: no course figure
  int courseWidth = kDefaultChartWidth, courseHeight = kDefaultChartHeight;
  bool quiet = false;
  bool record = true;  // course.csv and run.json; off only to measure what they cost
  LogChoice logs = LogChoice::kAll;
  runtime::GeneratorKind generator = runtime::GeneratorKind::kClassic;  // a single session's
  Parameters parameters;
  std::vector<std::string> givenParameters;  // the option names set on the command line
  bool overrideParameters = false;
  bool reseed = false;  // after a load=, the generator restarts from the seed as pcg32
  std::vector<Action> actions;
  std::optional<EnsembleOptions> ensemble;  // set by --seeds
  bool summarizeOnly = false;               // --summarize: the ensemble's summary and figure only
  bool nameFolder = false;  // messages name files with their folder: an ensemble's unit
};

// Reads the command line, and every @FILE it names, checking all of it before anything is
// written: throws UsageError on the first fault.
BatchOptions ParseCommandLine(const std::vector<std::string>& arguments);

// The parameters a loaded state goes on with: its own, or, with --override-parameters, with the
// ones given on the command line in their place. Throws UsageError when a parameter given on the
// command line differs from the state's and --override-parameters is not set.
Parameters ParametersAfterLoad(const Simulation::Saved& saved, const BatchOptions& options);
// The same for a session whose given parameters are these (an ensemble's unit).
Parameters ParametersAfterLoad(const Simulation::Saved& saved, const BatchOptions& options,
                               const Parameters& given);

// Whether any session of the command line loads a state.
bool AnyLoad(const BatchOptions& options);

// The training steps of the whole script: every run= added up.
std::int64_t ScriptSteps(const BatchOptions& options);
std::int64_t ScriptSteps(const std::vector<Action>& actions);
// The bytes the script's logs will write with these parameters, estimated from its runs' logged
// steps and options.logs.
std::uint64_t ScriptLogBytes(const BatchOptions& options, const Parameters& parameters);
// The same for these actions, one unit's.
std::uint64_t ScriptLogBytes(const BatchOptions& options, const std::vector<Action>& actions,
                             const Parameters& parameters);

// Prints "orvel-batch: message" on standard error, the form of every message of the program.
void ReportError(const std::string& message);

// The --help text.
std::string Usage();
