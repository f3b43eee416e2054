#include "EnsembleOptions.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <thread>

#include "CourseChart.h"
#include "EnsembleRecord.h"
#include "GeneratorList.h"
#include "LoadPlaceholders.h"
#include "LogNames.h"
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
  if (arguments.protocols) throw UsageError("--protocol needs --seeds");
  if (arguments.errorBars) throw UsageError("--error needs --seeds");
}

void RefuseSingleSessionOptions(const BatchOptions& options, const EnsembleArguments& arguments) {
  if (arguments.seedGiven) throw UsageError("--seeds and --seed cannot go together");
  if (!arguments.folderGiven) throw UsageError("--seeds needs --dir DIR, the ensemble's folder");
  if (!options.plot.empty() || !options.course.empty()) {
    throw UsageError(
        "--plot and --course draw one session; an ensemble draws DIR/course.png (--course-format)");
  }
}

// A unit saves in its own folder, which holds nothing else of that name.
void CheckSaveName(const Action& save) {
  const std::string& name = save.file;
  if (name.find('/') != std::string::npos || name == "." || name == "..") {
    throw UsageError(runtime::Printable(save.word) +
                     ": an ensemble saves in each unit's folder, so save= takes a file name");
  }
  std::vector<std::string> own(kLogNames.begin(), kLogNames.end());
  own.insert(own.end(),
             {kCourseName, kRunRecordName, kCheckListingName, kCheckTableName, kUnitCompleteName});
  if (std::find(own.begin(), own.end(), name) != own.end()) {
    throw UsageError(runtime::Printable(save.word) + ": " + runtime::Printable(name) +
                     " is a file of the unit's own");
  }
}

void CheckStateActions(const std::vector<Action>& actions) {
  for (const Action& action : actions) {
    if (action.kind == Action::Kind::Save) CheckSaveName(action);
    if (action.kind != Action::Kind::Load) continue;
    if (const std::string problem = PlaceholderProblem(action.file); !problem.empty()) {
      throw UsageError(runtime::Printable(action.word) + ": " + problem);
    }
  }
}

// Seeds that go on from one state play the same numbers from there on.
void RefuseIdenticalUnits(const EnsemblePlan& plan, const std::vector<Action>& actions,
                          bool reseed) {
  if (reseed || plan.SeedsPerGroup() < 2) return;
  const auto load = std::find_if(actions.rbegin(), actions.rend(), [](const Action& action) {
    return action.kind == Action::Kind::Load;
  });
  if (load == actions.rend() || HasPlaceholder(load->file)) return;
  throw UsageError(runtime::Printable(load->word) +
                   ": every seed would go on from the same state; {seed} or {unit} in its path "
                   "loads each unit's own, --reseed reseeds each from its seed");
}

// A unit that set a listed parameter would play another value than its folder, summary.csv and
// figures name.
void RefuseSettingListed(const EnsemblePlan& plan, const std::vector<Action>& actions) {
  for (const Action& action : actions) {
    if (action.kind != Action::Kind::Set) continue;
    for (const ListedParameter& listed : plan.Listed()) {
      if (listed.option->name != action.name) continue;
      throw UsageError(runtime::Printable(action.word) + ": --" + action.name +
                       " is listed, and every unit is named by its value; list it or set it");
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

// FILE's name without .txt: "md" for protocols/md.txt.
std::string ProtocolName(const std::string& file) {
  std::string name = std::filesystem::path(file).filename().string();
  if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0)
    name.resize(name.size() - 4);
  return name;
}

std::vector<Protocol> ReadProtocols(const std::string& text) {
  std::vector<Protocol> protocols;
  std::vector<std::string> files;
  for (const std::string& file : SplitList(text, "--protocol")) {
    Protocol protocol{ProtocolName(file), {}};
    // The name goes into folder names and summary.csv's fields as it is.
    const std::string& name = protocol.name;
    if (name.empty() || name == "." || name == ".." || runtime::Printable(name) != name) {
      throw UsageError("--protocol " + runtime::Printable(file) +
                       ": its file's name without .txt cannot name the protocol's folder");
    }
    for (std::size_t i = 0; i < protocols.size(); ++i) {
      if (protocols[i].name != protocol.name) continue;
      throw UsageError("--protocol " + runtime::Printable(files[i]) + " and " +
                       runtime::Printable(file) +
                       " both name protocol=" + runtime::Printable(protocol.name));
    }
    ReadActionFile(file, protocol.actions);
    protocols.push_back(std::move(protocol));
    files.push_back(file);
  }
  return protocols;
}

std::vector<Protocol> ProtocolsOf(const std::vector<RecordedProtocol>& recorded) {
  std::vector<Protocol> protocols;
  for (const RecordedProtocol& protocol : recorded) {
    protocols.push_back({protocol.name, {}});
    for (const std::string& word : protocol.actions) {
      protocols.back().actions.push_back(ParseAction(word));
    }
  }
  return protocols;
}

std::vector<RecordedProtocol> RecordOf(const std::vector<Protocol>& protocols) {
  std::vector<RecordedProtocol> recorded;
  for (const Protocol& protocol : protocols) {
    recorded.push_back({protocol.name, {}});
    for (const Action& action : protocol.actions) recorded.back().actions.push_back(action.word);
  }
  return recorded;
}

// The protocols given, or, for --summarize, the recorded ones.
std::vector<Protocol> ProtocolsFor(const EnsembleArguments& arguments,
                                   const std::optional<EnsembleRecord>& recorded) {
  if (arguments.protocols) return ReadProtocols(*arguments.protocols);
  if (arguments.summarizing && recorded) return ProtocolsOf(recorded->protocols);
  return {};
}

// Each protocol's whole script: the command line's actions, then its own.
std::vector<std::vector<Action>> Scripts(const std::vector<Action>& actions,
                                         const std::vector<Protocol>& protocols) {
  if (protocols.empty()) return {actions};
  std::vector<std::vector<Action>> scripts;
  for (const Protocol& protocol : protocols) {
    scripts.push_back(actions);
    scripts.back().insert(scripts.back().end(), protocol.actions.begin(), protocol.actions.end());
  }
  return scripts;
}

EnsemblePlan ParsePlan(const EnsembleArguments& arguments, const std::string& generatorText,
                       std::vector<Protocol> protocols) {
  const std::vector<SeedRange> ranges = ParseSeedRanges(*arguments.seeds);
  std::vector<runtime::GeneratorKind> generators = ParseGenerators(generatorText);
  std::vector<ListedParameter> listed;
  std::uint64_t units =
      SeedCount(ranges) * generators.size() * std::max<std::size_t>(protocols.size(), 1);
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
  return EnsemblePlan(std::move(listed), std::move(generators), ExpandSeeds(ranges),
                      std::move(protocols));
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
  if (options.reseed) command.emplace_back("--reseed");
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
  for (std::size_t i = 0; i < recorded->protocols.size(); ++i) {
    made += (i == 0 ? " --protocol " : ",") + recorded->protocols[i].name;
  }
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
  } else if (auto files = OptionValue(arguments, i, "protocol")) {
    protocols = std::move(files);
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
  std::vector<Protocol> protocols = ProtocolsFor(arguments, recorded);
  ensemble.record.protocols = RecordOf(protocols);
  ensemble.plan = ParsePlan(arguments, *ensemble.record.generator, std::move(protocols));
  for (const std::vector<Action>& script : Scripts(options.actions, ensemble.plan.Protocols())) {
    CheckStateActions(script);
    RefuseIdenticalUnits(ensemble.plan, script, options.reseed);
    RefuseSettingListed(ensemble.plan, script);
  }
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
