#include "EnsembleOptions.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <thread>

#include "CourseChart.h"
#include "EnsembleRecord.h"
#include "GeneratorList.h"
#include "Printable.h"
#include "ValueLists.h"
#include "WholeFile.h"

namespace {
// An ensemble's generator unless --generator is given: pcg32, whose seeds give unrelated streams.
constexpr const char* kEnsembleGenerator = "pcg32";
// A folder recorded before there was a choice goes on with the classic generator it started with.
constexpr const char* kUnrecordedGenerator = "classic";

std::vector<runtime::GeneratorKind> ParseGenerators(const std::string& text) {
  const auto generators = ParseGeneratorList(text);
  if (!generators) {
    throw UsageError(std::string("--generator takes ") + kGeneratorListValid + ", not " +
                     runtime::Printable(text));
  }
  return *generators;
}

void RefuseWithoutSeeds(const EnsembleArguments& arguments) {
  for (const auto& [option, value] : arguments.parameters) {
    if (IsValueList(value)) {
      throw UsageError("--" + std::string(option->name) + " " + runtime::Printable(value) +
                       ": a list of values makes an ensemble, which needs --seeds");
    }
  }
  if (arguments.generator && IsValueList(*arguments.generator)) {
    throw UsageError("--generator " + runtime::Printable(*arguments.generator) +
                     ": a list of generators makes an ensemble, which needs --seeds");
  }
  if (arguments.jobs) throw UsageError("--jobs needs --seeds");
  if (arguments.shard) throw UsageError("--shard needs --seeds");
  if (arguments.force) throw UsageError("--force needs --seeds");
  if (arguments.courseFormat) throw UsageError("--course-format needs --seeds");
  if (arguments.errorBars) throw UsageError("--error needs --seeds");
}

void RefuseSingleSessionOptions(const BatchOptions& options, const EnsembleArguments& arguments) {
  if (arguments.seedGiven) throw UsageError("--seeds and --seed cannot go together");
  if (!arguments.folderGiven) throw UsageError("--seeds needs --dir DIR, the ensemble's folder");
  if (!options.plot.empty() || !options.course.empty()) {
    throw UsageError(
        "--plot and --course draw one session; an ensemble draws DIR/course.png (--course-format)");
  }
  for (const Action& action : options.actions) {
    if (action.kind == Action::Kind::Save) {
      throw UsageError(runtime::Printable(action.word) +
                       ": every unit of an ensemble would save to the same file");
    }
  }
}

// The last value given to each parameter option, in the order of the parameter table.
std::vector<std::pair<const ParameterOption*, std::string>> LastValues(
    const EnsembleArguments& arguments) {
  std::map<const ParameterOption*, std::string> last;
  for (const auto& [option, value] : arguments.parameters) last[option] = value;
  std::vector<std::pair<const ParameterOption*, std::string>> ordered;
  for (const ParameterOption& option : ParameterOptions()) {
    if (const auto found = last.find(&option); found != last.end()) ordered.push_back(*found);
  }
  return ordered;
}

ListedParameter ParseValueList(const ParameterOption& option, const std::string& text) {
  const std::string name = "--" + std::string(option.name);
  ListedParameter listed{&option, SplitList(text, name)};
  // Compared as values, not as text: 0.010 and 1e-2, or -0 and 0, would play the same units twice.
  std::vector<Parameters> earlier;
  for (const std::string& value : listed.values) {
    Parameters probe;
    SetParameter(probe, option, value);
    if (std::find(earlier.begin(), earlier.end(), probe) != earlier.end()) {
      throw UsageError(name + " lists " + runtime::Printable(value) + " twice");
    }
    earlier.push_back(probe);
  }
  return listed;
}

EnsemblePlan ParsePlan(const EnsembleArguments& arguments, const std::string& generatorText) {
  const std::vector<SeedRange> ranges = ParseSeedRanges(*arguments.seeds);
  std::vector<runtime::GeneratorKind> generators = ParseGenerators(generatorText);
  std::vector<ListedParameter> listed;
  std::uint64_t units = SeedCount(ranges) * generators.size();
  for (const auto& [option, value] : LastValues(arguments)) {
    if (!IsValueList(value)) continue;
    listed.push_back(ParseValueList(*option, value));
    units *= listed.back().values.size();
    if (units > kMostUnits) break;
  }
  if (units > kMostUnits) {
    throw UsageError("the ensemble has more than " + std::to_string(kMostUnits) +
                     " units (seeds times combinations of values)");
  }
  return EnsemblePlan(std::move(listed), std::move(generators), ExpandSeeds(ranges));
}

ErrorBars ParseErrorBars(const std::optional<std::string>& text) {
  if (!text || *text == "sd") return ErrorBars::kSd;
  if (*text == "sem") return ErrorBars::kSem;
  if (*text == "ci95") return ErrorBars::kCi95;
  throw UsageError("--error takes sd, sem or ci95, not " + runtime::Printable(*text));
}

unsigned ParseJobs(const std::optional<std::string>& text) {
  if (!text) return std::clamp(std::thread::hardware_concurrency(), 1U, kMostJobs);
  const auto jobs = WholeNumber<unsigned>(*text);
  if (!jobs || *jobs < 1 || *jobs > kMostJobs) {
    throw UsageError("--jobs takes a whole number from 1 to " + std::to_string(kMostJobs) +
                     ", not " + runtime::Printable(*text));
  }
  return *jobs;
}

std::pair<std::size_t, std::size_t> ParseShard(const std::optional<std::string>& text) {
  if (!text) return {1, 1};
  const auto slash = text->find('/');
  const auto shard = WholeNumber<std::size_t>(text->substr(0, slash));
  const auto shards =
      slash == std::string::npos ? std::nullopt : WholeNumber<std::size_t>(text->substr(slash + 1));
  if (!shard || !shards || *shard < 1 || *shard > *shards) {
    throw UsageError("--shard takes K/N with 1 <= K <= N, not " + runtime::Printable(*text));
  }
  return {*shard, *shards};
}

// What makes the ensemble's units what they are: not how many jobs or which shard play them.
std::vector<std::string> CommandOf(const BatchOptions& options,
                                   const EnsembleArguments& arguments) {
  std::vector<std::string> command = {"--seeds", *arguments.seeds};
  for (const auto& [option, value] : LastValues(arguments)) {
    command.push_back("--" + std::string(option->name));
    command.push_back(value);
  }
  if (options.overrideParameters) command.emplace_back("--override-parameters");
  if (!options.record) command.emplace_back("--no-record");
  if (options.logs != LogChoice::kAll)
    command.insert(command.end(), {"--logs", LogChoiceName(options.logs)});
  for (const Action& action : options.actions) command.push_back(action.word);
  return command;
}

// The record of the ensemble the folder holds, which the command must continue; none with --force,
// which replaces whatever the record holds, damaged or not, as long as it can be.
std::optional<EnsembleRecord> RecordToContinue(const BatchOptions& options, bool force) {
  const std::string path = EnsembleRecordPath(options.directory);
  if (force) {
    const std::string problem = runtime::WholeFileProblem(path);
    if (!problem.empty()) throw UsageError(runtime::Printable(path) + ": " + problem);
    return std::nullopt;
  }
  if (!HasEnsembleRecord(options.directory)) return std::nullopt;
  const runtime::Read<EnsembleRecord> read = ReadEnsembleRecordIn(options.directory);
  if (!read) throw UsageError(runtime::Printable(path) + ": " + read.Error());
  EnsembleRecord recorded = *read;
  if (!recorded.generator) recorded.generator = kUnrecordedGenerator;
  return recorded;
}

void CheckSameEnsemble(const BatchOptions& options, const std::optional<EnsembleRecord>& recorded,
                       const EnsembleRecord& record) {
  if (!recorded || *recorded == record) return;
  std::string made = "--generator " + recorded->generator.value_or("");
  for (const std::string& word : recorded->command) made += " " + word;
  throw UsageError(runtime::Printable(options.directory) +
                   " holds an ensemble made by another command (" + runtime::Printable(made) +
                   "); --force replaces it");
}
}  // namespace

bool EnsembleArguments::Take(const std::vector<std::string>& arguments, std::size_t& i) {
  if (auto value = OptionValue(arguments, i, "seeds")) {
    seeds = std::move(value);
  } else if (auto jobsValue = OptionValue(arguments, i, "jobs")) {
    jobs = std::move(jobsValue);
  } else if (auto shardValue = OptionValue(arguments, i, "shard")) {
    shard = std::move(shardValue);
  } else if (auto format = OptionValue(arguments, i, "course-format")) {
    courseFormat = std::move(format);
  } else if (auto bars = OptionValue(arguments, i, "error")) {
    errorBars = std::move(bars);
  } else if (arguments[i] == "--force") {
    force = true;
  } else {
    return false;
  }
  return true;
}

void FinishEnsembleOptions(BatchOptions& options, const EnsembleArguments& arguments) {
  if (!arguments.seeds) {
    RefuseWithoutSeeds(arguments);
    if (arguments.generator) options.generator = ParseGenerators(*arguments.generator).front();
    return;
  }
  RefuseSingleSessionOptions(options, arguments);
  EnsembleOptions ensemble;
  ensemble.force = arguments.force;
  const std::optional<EnsembleRecord> recorded = RecordToContinue(options, ensemble.force);
  // Left out, the generator is the folder's, so that the same command finishes what it started.
  ensemble.record.generator = arguments.generator.value_or(
      recorded ? *recorded->generator : std::string(kEnsembleGenerator));
  ensemble.plan = ParsePlan(arguments, *ensemble.record.generator);
  ensemble.jobs = ParseJobs(arguments.jobs);
  std::tie(ensemble.shard, ensemble.shards) = ParseShard(arguments.shard);
  ensemble.errorBars = ParseErrorBars(arguments.errorBars);
  ensemble.courseFormat = arguments.courseFormat.value_or("png");
  if (ensemble.courseFormat != "png" && ensemble.courseFormat != "svg") {
    throw UsageError("--course-format takes png or svg, not " +
                     runtime::Printable(ensemble.courseFormat));
  }
  const std::string figure = options.directory + "/course." + ensemble.courseFormat;
  // A --dir yet to be made takes any file.
  const std::string problem =
      std::filesystem::is_directory(options.directory)
          ? ChartFileProblem(figure, options.courseWidth, options.courseHeight)
          : ChartShapeProblem(figure, options.courseWidth, options.courseHeight);
  if (!problem.empty()) throw UsageError(runtime::Printable(figure) + ": " + problem);
  ensemble.record.command = CommandOf(options, arguments);
  CheckSameEnsemble(options, recorded, ensemble.record);
  options.ensemble = std::move(ensemble);
}
