#include "Ensemble.h"

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "BatchSession.h"
#include "CourseChart.h"
#include "CoursesTable.h"
#include "EnsembleFigureFile.h"
#include "EnsembleProgress.h"
#include "EnsembleRecord.h"
#include "EnsembleSummary.h"
#include "LogNames.h"
#include "SpreadTable.h"
#include "SummaryFigureFile.h"
#include "SummaryLock.h"

namespace {
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
// A driver's interruption is asked for this often, so Ctrl-C ends an ensemble within 0.2 s.
constexpr auto kAskEvery = std::chrono::milliseconds(50);

std::uint64_t LogBytesToWrite(const BatchOptions& options, const std::vector<std::size_t>& units) {
  const EnsemblePlan& plan = options.ensemble->plan;
  std::uint64_t bytes = 0;
  for (std::size_t index : units) {
    bytes += ScriptLogBytes(options, UnitActions(options, index),
                            plan.ParametersOf(plan.Unit(index), options.parameters));
  }
  return bytes;
}

std::int64_t StepsToTake(const BatchOptions& options, const std::vector<std::size_t>& units) {
  std::int64_t steps = 0;
  for (std::size_t index : units) steps += ScriptSteps(UnitActions(options, index));
  return steps;
}

// Two exit statuses as one: a failure outranks a divergence, whose unit is at least complete.
int Combined(int a, int b) {
  const auto rank = [](int status) {
    return status == kDivergedStatus ? 1 : status == 0 ? 0 : 2 + status;
  };
  return rank(a) >= rank(b) ? a : b;
}

// The jobs: each takes the next unit until none is left or a signal arrives.
class Players {
 public:
  Players(const BatchOptions& options, std::vector<std::size_t> units, const UnitPlayer& play)
      : options_(options), single_(options), units_(std::move(units)), play_(play) {
    single_.ensemble.reset();
  }

  int Play(unsigned jobs, EnsembleProgress& progress, const std::function<bool()>& interrupted) {
    const std::size_t count = std::min<std::size_t>(jobs, units_.size());
    std::vector<std::jthread> threads;
    for (std::size_t job = 0; job < count; ++job) threads.emplace_back([this] { Work(); });
    const auto wait = interrupted ? kAskEvery : kRedrawEvery;
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, wait, [&] { return finished_ == count; })) {
      progress.Draw(played_, shared_.steps.load());
      if (interrupted && Signal() == 0 && interrupted()) shared_.stop.Raise(SIGINT);
    }
    return status_;
  }

  // The signal that ended the ensemble early, the process's or the driver's; 0 if none did.
  int Signal() const { return shared_.stop.Signal(); }

 private:
  void Work() {
    while (Signal() == 0) {
      const std::size_t next = next_.fetch_add(1);
      if (next >= units_.size()) break;
      const int status = PlayContained(units_[next]);
      std::lock_guard lock(mutex_);
      if (status < 128) status_ = Combined(status_, status);
      if (status == 0 || status == kDivergedStatus) ++played_;
    }
    std::lock_guard lock(mutex_);
    ++finished_;
    changed_.notify_one();
  }

  // An exception escaping a job's thread would end the whole program. It ends only its unit:
  // the session's logs have closed whole on the way out, and a marker left by an earlier run
  // (--force replays complete units) must not make the unit look complete.
  int PlayContained(std::size_t index) {
    try {
      return play_(options_, single_, index, shared_);
    } catch (const std::exception& error) {
      const std::string folder = UnitFolder(options_, index);
      std::error_code ignored;
      std::filesystem::remove(folder + "/" + kUnitCompleteName, ignored);
      ReportError(folder + ": " + error.what() + "; the unit is not complete");
      return 1;
    }
  }

  const BatchOptions& options_;
  BatchOptions single_;
  std::vector<std::size_t> units_;
  const UnitPlayer& play_;
  std::atomic<std::size_t> next_ = 0;
  UnitsShared shared_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t finished_ = 0, played_ = 0;
  int status_ = 0;
};

// One line for every unit whose file of that name is damaged: the first, with its fault.
void ReportDamaged(const std::vector<std::string>& damaged, const std::string& madeFile,
                   const char* name) {
  const std::string more = damaged.size() == 1 ? ""
                                               : ", and " + std::to_string(damaged.size() - 1) +
                                                     " more whose " + name + " is damaged";
  ReportError(damaged.front() + "; " + madeFile + " leaves out that unit" + more);
}

// The ensemble's figure and spread.csv, the numbers it draws; 1 when either could not be written
// or had to go without a damaged file.
int DrawFigure(const BatchOptions& options, const UnitStates& units) {
  const std::string figure = "course." + options.ensemble->courseFormat;
  if (options.logs == LogChoice::kNone) {
    // spread.csv goes with the figure it is the numbers of.
    ReportError("no " + figure + ": --logs none writes no " + kCourseName + " to draw it from");
    return 0;
  }
  EnsembleFigureDamage damage;
  const EnsembleCourse course = EnsembleCourseOf(options, units, damage);
  std::string error;
  int status = 0;
  if (!course.groups.empty() &&
      !WriteEnsembleChart(course, options.directory + "/" + figure, options.courseWidth,
                          options.courseHeight, error)) {
    ReportError("cannot write " + figure + ": " + error);
    status = 1;
  }
  if (!course.groups.empty() && !WriteSpreadTable(options, course, error)) {
    ReportError("cannot write " + std::string(kSpreadName) + ": " + error);
    status = 1;
  }
  if (!damage.courses.empty()) {
    ReportDamaged(damage.courses, figure, kCourseName);
    status = 1;
  }
  if (!damage.events.empty()) {
    ReportError(damage.events + "; " + figure + " goes without its event markers");
    status = 1;
  }
  return status;
}

// summary.csv; 1 when it could not be written or had to go without a damaged file.
int WriteSummary(const BatchOptions& options, const UnitStates& units) {
  std::string error;
  int status = 0;
  std::vector<std::string> damaged;
  if (!WriteEnsembleSummary(options, units, damaged, error)) {
    ReportError("cannot write summary.csv: " + error);
    status = 1;
  }
  if (!damaged.empty()) {
    ReportDamaged(damaged, kSummaryName, kCheckTableName);
    status = 1;
  }
  return status;
}

// summary.png from summary.csv; 1 when it could not be written.
int DrawSummary(const BatchOptions& options) {
  std::string error;
  if (WriteSummaryFigure(options, error)) return 0;
  ReportError("cannot write summary." + options.ensemble->courseFormat + ": " + error);
  return 1;
}

// --courses: courses.csv; 1 when it could not be written or had to go without a damaged file.
int WriteCourses(const BatchOptions& options, const UnitStates& units) {
  std::string error;
  int status = 0;
  std::vector<std::string> damaged;
  if (!WriteCoursesTable(options, units, damaged, error)) {
    ReportError("cannot write " + std::string(kCoursesName) + ": " + error);
    status = 1;
  }
  if (!damaged.empty()) {
    ReportDamaged(damaged, kCoursesName, kCourseName);
    status = 1;
  }
  return status;
}
}  // namespace

int SummarizeEnsemble(const BatchOptions& options) {
  const SummaryLock lock(options.directory);
  const EnsemblePlan& plan = options.ensemble->plan;
  const UnitStates units = UnitStatesOf(options);
  const auto missing =
      static_cast<std::size_t>(std::count(units.complete.begin(), units.complete.end(), false));
  if (missing > 0) {
    ReportError(std::to_string(missing) + " of " + std::to_string(plan.Units()) +
                " units are not complete yet: the summary and the figure leave them out");
  }
  const std::size_t diverged = units.Diverged();
  if (diverged > 0) {
    ReportError(std::to_string(diverged) + " of " + std::to_string(plan.Units()) +
                " units diverged (summary.csv's diverged_at): the figure leaves them out");
  }
  // The summary figure draws summary.csv as written, so that every point's units are its rows.
  int files = std::max(WriteSummary(options, units), DrawFigure(options, units));
  files = std::max(files, DrawSummary(options));
  if (options.ensemble->courses) files = std::max(files, WriteCourses(options, units));
  return Combined(files, diverged > 0 ? kDivergedStatus : 0);
}

int RunEnsemble(const BatchOptions& options, std::FILE* terminal, const UnitPlayer& play,
                const std::function<bool()>& interrupted) {
  std::string error;
  if (!WriteEnsembleRecord(options.directory, options.ensemble->record, error)) {
    ReportError("cannot write ensemble.json: " + error);
    return 1;
  }
  std::size_t shardUnits = 0;
  std::vector<std::size_t> units = UnitsToPlay(options, shardUnits);
  const std::int64_t totalSteps = StepsToTake(options, units);
  int status = 0;
  int signal = 0;
  {
    EnsembleProgress progress(terminal, shardUnits, units.size(), totalSteps,
                              LogBytesToWrite(options, units));
    Players players(options, std::move(units), play);
    status = players.Play(options.ensemble->jobs, progress, interrupted);
    signal = players.Signal();
  }
  if (signal != 0) {
    ReportError(
        "interrupted; every unit's logs end at its last logged step, and the same command "
        "finishes the ensemble");
    // The units done so far are worth a look at once; the figure waits for the rerun.
    const SummaryLock lock(options.directory);
    WriteSummary(options, UnitStatesOf(options));
    return 128 + signal;
  }
  return Combined(status, SummarizeEnsemble(options));
}
