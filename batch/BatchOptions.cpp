#include "BatchOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <sstream>
#include <tuple>

#include "CheckTable.h"
#include "CourseChart.h"
#include "EnsembleOptions.h"
#include "EnsembleRecord.h"
#include "EnsembleUnitRun.h"
#include "LogNames.h"
#include "Printable.h"
#include "RegularFile.h"
#include "StateFile.h"
#include "WholeFile.h"

namespace {
void CheckWritableDirectory(const std::string& directory, const std::string& what) {
  const std::string problem = runtime::FolderProblem(directory);
  if (!problem.empty()) throw UsageError(what + ": " + runtime::Printable(problem));
}

bool EndsWith(const std::string& text, const std::string& ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
    return a == std::tolower(static_cast<unsigned char>(b));
  });
}

void CheckPlotFile(const std::string& plot) {
  if (!EndsWith(plot, ".png"))
    throw UsageError("--plot takes a .png file, not " + runtime::Printable(plot));
  const std::string problem = runtime::WholeFileProblem(plot);
  if (!problem.empty()) throw UsageError("--plot " + runtime::Printable(plot) + ": " + problem);
}

std::string DefaultCourseSize() {
  return std::to_string(kDefaultChartWidth) + "x" + std::to_string(kDefaultChartHeight);
}

// Width x height, as in 1200x900.
std::pair<int, int> ParseSize(const std::string& text) {
  const auto x = text.find('x');
  const auto width = WholeNumber<int>(text.substr(0, x));
  const auto height = x == std::string::npos ? std::nullopt : WholeNumber<int>(text.substr(x + 1));
  if (!width || !height) {
    throw UsageError("--course-size takes WIDTHxHEIGHT, as " + DefaultCourseSize() + ", not " +
                     runtime::Printable(text));
  }
  return {*width, *height};
}

void CheckCourseFile(const BatchOptions& options) {
  const std::string problem =
      ChartFileProblem(options.course, options.courseWidth, options.courseHeight);
  if (!problem.empty())
    throw UsageError("--course " + runtime::Printable(options.course) + ": " + problem);
}

// States already checked, each with the parameters of one combination of listed values: the
// units of an ensemble share both.
using CheckedStates = std::set<std::pair<std::string, std::size_t>>;

// A state one session loads is read whole before anything is written, unless an earlier save of
// the session makes it. A unit of an ensemble loads nothing from a unit's folder: --force, or a
// rerun of an incomplete unit, empties the folder first.
void CheckSessionStates(const BatchOptions& options, const std::vector<Action>& actions,
                        const Parameters& given, std::size_t group, CheckedStates& checked,
                        const UnitFolders* units = nullptr) {
  std::set<std::string> saved;
  for (const Action& action : actions) {
    // A unit's folder is made as it starts; its save= takes a plain name, checked already.
    if (action.kind == Action::Kind::Save && !options.ensemble) {
      const std::string problem = runtime::WholeFileProblem(action.file);
      if (!problem.empty()) throw UsageError(runtime::Printable(action.word) + ": " + problem);
    }
    if (action.kind == Action::Kind::Save) saved.insert(action.file);
    if (action.kind != Action::Kind::Load || saved.count(action.file) > 0 ||
        !checked.emplace(action.file, group).second) {
      continue;
    }
    if (const std::string folder = units ? units->Holding(action.file) : ""; !folder.empty()) {
      throw UsageError(runtime::Printable(action.word) + ": " + runtime::Printable(folder) +
                       " is a unit's folder, emptied as the unit plays; keep states to load "
                       "outside the ensemble's units");
    }
    const runtime::Read<Simulation::Saved> state = ReadStateFile(action.file);
    if (!state) throw UsageError(runtime::Printable(action.file) + ": " + state.Error());
    try {
      ParametersAfterLoad(*state, options, given);
    } catch (const std::runtime_error& error) {
      throw UsageError(runtime::Printable(action.file) + ": " + error.what());
    }
  }
}

// Every state the sessions to play load: with placeholders, each unit its own.
void CheckStateFiles(const BatchOptions& options) {
  CheckedStates checked;
  if (!options.ensemble) {
    CheckSessionStates(options, options.actions, options.parameters, 0, checked);
    return;
  }
  if (!AnyLoad(options)) return;
  const EnsemblePlan& plan = options.ensemble->plan;
  const UnitFolders units(options);
  std::size_t shardUnits = 0;
  for (const std::size_t index : UnitsToPlay(options, shardUnits)) {
    const EnsembleUnit unit = plan.Unit(index);
    CheckSessionStates(options, UnitActions(options, index),
                       plan.ParametersOf(unit, options.parameters), unit.group, checked, &units);
  }
}

BatchOptions ParseArguments(const std::vector<std::string>& arguments, bool summarizing = false);

// --summarize DIR: the ensemble's own command, read from its folder, with the drawing options.
// Nothing is played, so the states the command loads need not be there any more.
BatchOptions ParseSummarize(const std::string& folder, const std::vector<std::string>& rest) {
  CheckWritableDirectory(folder, "--summarize");
  if (!HasEnsembleRecord(folder)) {
    throw UsageError("--summarize: " + runtime::Printable(folder) + " holds no " +
                     kEnsembleRecordName);
  }
  const runtime::Read<EnsembleRecord> recorded = ReadEnsembleRecordIn(folder);
  if (!recorded) {
    throw UsageError(runtime::Printable(EnsembleRecordPath(folder)) + ": " + recorded.Error());
  }
  // The generator is not among the command's words: the folder's record gives it anew.
  std::vector<std::string> command = recorded->command;
  bool courses = false;
  std::vector<std::string> drawing;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const std::size_t from = i;
    if (rest[i] == "--courses") {
      courses = true;
      continue;
    }
    if (!OptionValue(rest, i, "course-format") && !OptionValue(rest, i, "course-size") &&
        !OptionValue(rest, i, "error") && rest[i] != "--quiet") {
      throw UsageError(
          "--summarize DIR takes only --courses, --course-format, --course-size, --error and "
          "--quiet, not " +
          runtime::Printable(rest[i]));
    }
    drawing.insert(drawing.end(), rest.begin() + static_cast<std::ptrdiff_t>(from),
                   rest.begin() + static_cast<std::ptrdiff_t>(i) + 1);
  }
  command.insert(command.end(), {"--dir", folder});
  command.insert(command.end(), drawing.begin(), drawing.end());
  BatchOptions options = ParseArguments(command, true);
  options.summarizeOnly = true;
  options.ensemble->courses = courses;
  return options;
}
}  // namespace

Parameters ParametersAfterLoad(const Simulation::Saved& saved, const BatchOptions& options) {
  return ParametersAfterLoad(saved, options, options.parameters);
}

Parameters ParametersAfterLoad(const Simulation::Saved& saved, const BatchOptions& options,
                               const Parameters& givenParameters) {
  Parameters parameters = saved.parameters;
  for (const std::string& name : options.givenParameters) {
    const ParameterOption& option = *FindParameterOption(name);
    const std::string given = option.get(givenParameters);
    if (!options.overrideParameters && given != option.get(saved.parameters)) {
      throw UsageError("--" + name + " " + given + " differs from the state's " +
                       option.get(saved.parameters) + " (--override-parameters applies it)");
    }
    SetParameter(parameters, option, given);
  }
  return parameters;
}

std::string Usage() {
  return "usage: orvel-batch --seed S [--dir DIR] [--logs L] [--plot FILE.png] [--quiet] "
         "[PARAMETER...] ACTION...\n"
         "       orvel-batch --seeds A-B [--jobs N] [--shard K/N] [--force] --dir DIR [--logs L] "
         "[PARAMETER[=LIST]...] ACTION...\n"
         "       orvel-batch --summarize DIR [--course-format F] [--course-size WxH]\n"
         "\n"
         "Runs the BCM Orvel simulation without a window, replaying the actions of a window "
         "session.\n"
         "The same seed, parameters and actions give byte-identical logs and plot on every run.\n"
         "\n"
         "  --seed S            seeds the generator as a window started at clock second S would\n"
         "                      (" +
         std::string(kSeedRange) +
         "); required\n"
         "  --dir DIR           writes the seven log files in DIR (default: the working "
         "directory)\n"
         "  --logs L            all (default): the seven logs and course.csv; course: course.csv\n"
         "                      only; none: neither. run.json always, and the results are the "
         "same\n"
         "  --generator G       classic (default) or pcg32, whose probe and Check It Out draw\n"
         "                      from a stream of their own\n"
         "  --plot FILE.png     writes the weight plot as the window last drew it\n"
         "  --course FILE       writes the figure of the course at the end (.png or .svg)\n"
         "  --course-size WxH   its size in pixels (default " +
         DefaultCourseSize() +
         ")\n"
         "  --override-parameters\n"
         "                      a loaded state learns on with the command line's parameters\n"
         "  --reseed            after each load=, the generator restarts from the seed (pcg32)\n"
         "  --quiet             no progress bar\n"
         "\n"
         "Ensembles: one unit per seed and per combination of listed values, each played as\n"
         "`--seed S --dir DIR/[NAME=VALUE,...]/seed-S` would, its listing in checks.txt:\n"
         "  --seeds LIST        seeds as A-B, A,B,C or both (1-5,9); at most 1000000 units\n"
         "  PARAMETER X,Y,...   a list of values for any parameter option\n"
         "  --generator G,...   pcg32 by default (classic in a folder recorded without one);\n"
         "                      a list plays each\n"
         "  --jobs N            units played at once, up to 256 (default: the number of cores)\n"
         "  --shard K/N         plays only units K, K+N, K+2N, ... of the fixed order\n"
         "  --force             replaces an ensemble DIR made by another command\n"
         "  --course-format F   the figures DIR/course.F and DIR/summary.F: png (default) or svg\n"
         "  --error E           summary.F's error bars: sd (default), sem or ci95\n"
         "  --protocol F,...    action files, each played after the command line's actions by\n"
         "                      the units DIR/protocol=NAME/..., NAME the file's without .txt\n"
         "  --summarize DIR     rebuilds DIR/summary.csv, spread.csv and the figures, as after\n"
         "                      shards; the figures take --course-format, --course-size and\n"
         "                      --error anew\n"
         "  --courses           with --summarize: every unit's course.csv in DIR/courses.csv\n"
         "A rerun of the same command skips complete units. save=NAME saves in each unit's\n"
         "folder; load=PATH (relative to the working directory) fills in {seed} and {unit}, the\n"
         "unit's folder inside DIR, as load=rear/seed-{seed}/s.json; seeds that would all load\n"
         "one state need a placeholder or --reseed.\n"
         "  --help              this text\n"
         "  --version           the program's version\n"
         "\n"
         "Parameters (each also as --name=X):\n" +
         ParameterHelp() +
         "\n"
         "Actions, performed in order (both eye boxes start ticked):\n"
         "  run=N               a training run of exactly N steps (N >= 1)\n"
         "  check               Check It Out: the 12 listing lines to standard output\n"
         "  check=NAME          the same, named NAME (a letter, then letters, digits, - and _)\n"
         "                      in an ensemble's summary.csv and summary figure\n"
         "  reset               Reset Weights\n"
         "  left=on|off         tick or untick the left eye\n"
         "  right=on|off        tick or untick the right eye\n"
         "  save=FILE           saves the simulation's state: it continues exactly after load\n"
         "  load=FILE           continues from a saved state (and its eye boxes)\n"
         "  NAME=X              sets the parameter --NAME to X from here on, as the\n"
         "                      Parameters dialog would (closed-noise=0, rule=oja)\n"
         "  @FILE               the actions in FILE, one per line; # starts a comment;\n"
         "                      a lesson's texts (lesson:, phase:, say:, ...) are skipped\n"
         "\n"
         "Exit status: 0 when every action ran and every log line was written; 1 when a file\n"
         "could not be written; 2 for bad input (nothing is written); 130 or 143 after SIGINT\n"
         "or SIGTERM (the logs end whole at the last logged step).\n";
}

namespace {
// Everything but the states to load, which only a run needs.
BatchOptions ParseArguments(const std::vector<std::string>& arguments, bool summarizing) {
  BatchOptions options;
  EnsembleArguments ensemble;
  ensemble.summarizing = summarizing;
  OptionsSeen seen;
  bool sized = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    seen.Note(argument);
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return options;
    } else if (argument == "--version") {
      options.version = true;
      return options;
    } else if (const auto summarized = OptionValue(arguments, i, "summarize")) {
      std::vector<std::string> rest(arguments.begin(), arguments.end());
      rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i) - (argument == "--summarize"),
                 rest.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return ParseSummarize(*summarized, rest);
    } else if (const auto seed = OptionValue(arguments, i, "seed")) {
      options.seed = ParseSeed(*seed);
      ensemble.seedGiven = true;
    } else if (const auto directory = OptionValue(arguments, i, "dir")) {
      options.directory = *directory;
      ensemble.folderGiven = true;
    } else if (const auto plot = OptionValue(arguments, i, "plot")) {
      options.plot = *plot;
    } else if (const auto course = OptionValue(arguments, i, "course")) {
      options.course = *course;
    } else if (const auto size = OptionValue(arguments, i, "course-size")) {
      std::tie(options.courseWidth, options.courseHeight) = ParseSize(*size);
      sized = true;
    } else if (argument == "--override-parameters") {
      options.overrideParameters = true;
    } else if (argument == "--reseed") {
      options.reseed = true;
    } else if (const auto logs = OptionValue(arguments, i, "logs")) {
      options.logs = ParseLogChoice(*logs);
    } else if (const auto generator = OptionValue(arguments, i, "generator")) {
      ensemble.generator = *generator;
    } else if (argument == "--no-record") {
      options.record = false;
    } else if (argument == "--quiet") {
      options.quiet = true;
    } else if (ensemble.Take(arguments, i)) {
      continue;
    } else if (const auto parameter = TakeParameterArgument(arguments, i)) {
      // A list's values are checked, and set unit by unit, once the ensemble is known.
      if (!IsValueList(parameter->value)) {
        SetParameter(options.parameters, *parameter->option, parameter->value);
      }
      options.givenParameters.emplace_back(parameter->option->name);
      ensemble.parameters.emplace_back(parameter->option, parameter->value);
    } else if (argument.rfind("--", 0) == 0) {
      throw UsageError("unknown option: " + runtime::Printable(argument));
    } else if (!argument.empty() && argument.front() == '@') {
      ReadActionFile(argument.substr(1), options.actions);
    } else {
      options.actions.push_back(ParseAction(argument));
    }
  }
  if (!ensemble.seedGiven && !ensemble.seeds) throw UsageError("--seed or --seeds is required");
  if (options.actions.empty()) throw UsageError("no actions given: nothing to do");
  // Made, with its missing parents, once the whole command line has been checked.
  if (const std::string problem = runtime::FolderToMakeProblem(options.directory); !problem.empty())
    throw UsageError("--dir: " + runtime::Printable(problem));
  FinishEnsembleOptions(options, ensemble);
  if (options.reseed && !AnyLoad(options)) {
    throw UsageError("--reseed reseeds a loaded state, and no load= follows");
  }
  if (sized && options.course.empty() && !options.ensemble) {
    throw UsageError("--course-size sizes the figure of --course or of an ensemble (--seeds)");
  }
  if (!options.plot.empty()) CheckPlotFile(options.plot);
  if (!options.course.empty()) CheckCourseFile(options);
  return options;
}
}  // namespace

BatchOptions ParseCommandLine(const std::vector<std::string>& arguments) {
  BatchOptions options = ParseArguments(arguments);
  if (!options.help && !options.version && !options.summarizeOnly) CheckStateFiles(options);
  return options;
}

bool AnyLoad(const BatchOptions& options) {
  const auto loads = [](const std::vector<Action>& actions) {
    return std::any_of(actions.begin(), actions.end(),
                       [](const Action& action) { return action.kind == Action::Kind::Load; });
  };
  if (loads(options.actions)) return true;
  if (!options.ensemble) return false;
  const std::vector<Protocol>& protocols = options.ensemble->plan.Protocols();
  return std::any_of(protocols.begin(), protocols.end(),
                     [&](const Protocol& protocol) { return loads(protocol.actions); });
}

std::int64_t ScriptSteps(const BatchOptions& options) {
  return ScriptSteps(options.actions);
}

std::int64_t ScriptSteps(const std::vector<Action>& actions) {
  std::int64_t steps = 0;
  for (const Action& action : actions) steps += action.steps;
  return steps;
}

std::uint64_t ScriptLogBytes(const BatchOptions& options, const Parameters& parameters) {
  return ScriptLogBytes(options, options.actions, parameters);
}

std::uint64_t ScriptLogBytes(const BatchOptions& options, const std::vector<Action>& actions,
                             const Parameters& parameters) {
  std::int64_t logged = 0;
  for (const Action& action : actions) {
    logged += LoggedSteps(action.steps, parameters.logEvery);
  }
  return static_cast<std::uint64_t>(logged) * BytesPerLoggedStep(parameters, options.logs);
}

void ReportError(const std::string& message) {
  std::fprintf(stderr, "orvel-batch: %s\n", message.c_str());
}
