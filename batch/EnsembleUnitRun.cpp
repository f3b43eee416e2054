#include "EnsembleUnitRun.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "BatchSession.h"
#include "CheckTable.h"
#include "LoadPlaceholders.h"
#include "LogNames.h"
#include "RunRecord.h"
#include "WholeFile.h"

namespace {
bool WriteOrReport(const std::string& path, const std::string& contents) {
  std::string error;
  if (runtime::WriteWholeFile(path, contents, error)) return true;
  ReportError("cannot write " + path + ": " + error);
  return false;
}

// A fresh start: nothing an interrupted attempt left, a half-written temporary file included.
bool PrepareFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder)) {
    ReportError("cannot make " + folder + ": " + error.message());
    return false;
  }
  return true;
}

// Closes the listing should the session throw; the normal path closes it itself, to see errors.
struct ListingCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Plays the session with its listing in checks.txt; table gets checks.csv's rows.
int PlaySession(const BatchOptions& options, UnitsShared& shared, std::string& table) {
  const std::string listingPath = options.directory + "/" + kCheckListingName;
  std::unique_ptr<std::FILE, ListingCloser> listing(std::fopen(listingPath.c_str(), "wb"));
  if (!listing) {
    ReportError("cannot open " + listingPath + ": " + std::strerror(errno));
    return 1;
  }
  int status = 0;
  {
    BatchSession session(options, nullptr, listing.get());
    int checks = 0;
    session.onCheck = [&](const CheckMoment& moment) { table += CheckTableRow(++checks, moment); };
    session.CountStepsInto(&shared.steps);
    session.StopOn(&shared.stop);
    status = session.Play();
  }
  if (std::fclose(listing.release()) != 0 && status == 0) {
    ReportError("cannot write " + listingPath + ": " + std::strerror(errno));
    status = 1;
  }
  return status;
}
}  // namespace

std::string UnitFolder(const BatchOptions& ensemble, std::size_t index) {
  const EnsemblePlan& plan = ensemble.ensemble->plan;
  return ensemble.directory + "/" + plan.FolderOf(plan.Unit(index));
}

namespace {
// Absolute, with . and .. and the symbolic links of its existing part resolved.
std::filesystem::path Comparable(const std::string& path) {
  std::error_code error;
  std::filesystem::path comparable = std::filesystem::weakly_canonical(path, error);
  if (error) comparable = std::filesystem::absolute(path, error).lexically_normal();
  return comparable;
}
}  // namespace

UnitFolders::UnitFolders(const BatchOptions& ensemble) {
  for (std::size_t index = 0; index < ensemble.ensemble->plan.Units(); ++index) {
    const std::string folder = UnitFolder(ensemble, index);
    folders_.emplace(Comparable(folder), folder);
  }
}

std::string UnitFolders::Holding(const std::string& path) const {
  const std::filesystem::path comparable = Comparable(path);
  for (std::filesystem::path folder = comparable.parent_path(); folder != folder.parent_path();
       folder = folder.parent_path()) {
    if (const auto found = folders_.find(folder); found != folders_.end()) return found->second;
  }
  return "";
}

bool UnitComplete(const std::string& folder) {
  std::error_code error;
  return std::filesystem::exists(folder + "/" + kUnitCompleteName, error);
}

std::vector<std::size_t> UnitsToPlay(const BatchOptions& ensemble, std::size_t& shardUnits) {
  const EnsembleOptions& options = *ensemble.ensemble;
  std::vector<std::size_t> units;
  shardUnits = 0;
  for (std::size_t index = options.shard - 1; index < options.plan.Units();
       index += options.shards) {
    ++shardUnits;
    if (options.force || !UnitComplete(UnitFolder(ensemble, index))) units.push_back(index);
  }
  return units;
}

std::vector<Action> UnitActions(const BatchOptions& ensemble, std::size_t index) {
  const EnsemblePlan& plan = ensemble.ensemble->plan;
  const EnsembleUnit unit = plan.Unit(index);
  std::vector<Action> actions = ensemble.actions;
  if (unit.protocol) {
    actions.insert(actions.end(), unit.protocol->actions.begin(), unit.protocol->actions.end());
  }
  for (Action& action : actions) {
    if (action.kind == Action::Kind::Save) {
      action.file = UnitFolder(ensemble, index) + "/" + action.file;
      action.word = "save=" + action.file;
    } else if (action.kind == Action::Kind::Load) {
      action.file = FillPlaceholders(action.file, unit.seed, plan.FolderOf(unit));
      action.word = "load=" + action.file;
    }
  }
  return actions;
}

namespace {
// Where the unit's run.json notes a divergence; none in a record without it or a damaged one,
// which the figure reports.
std::optional<std::uint64_t> DivergedAt(const std::string& folder) {
  const auto events = ReadRunEventsFile(folder + "/" + kRunRecordName);
  if (!events) return std::nullopt;
  for (const RunRecord::Event& event : *events) {
    if (event.kind == "diverged") return event.at;
  }
  return std::nullopt;
}
}  // namespace

std::size_t UnitStates::Diverged() const {
  return static_cast<std::size_t>(
      std::count_if(divergedAt.begin(), divergedAt.end(), [](const auto& at) { return at; }));
}

UnitStates UnitStatesOf(const BatchOptions& ensemble) {
  const std::size_t units = ensemble.ensemble->plan.Units();
  UnitStates states{std::vector<bool>(units), std::vector<std::optional<std::uint64_t>>(units)};
  for (std::size_t index = 0; index < units; ++index) {
    const std::string folder = UnitFolder(ensemble, index);
    states.complete[index] = UnitComplete(folder);
    if (states.complete[index] && ensemble.record) states.divergedAt[index] = DivergedAt(folder);
  }
  return states;
}

int PlayUnit(const BatchOptions& ensemble, const BatchOptions& single, std::size_t index,
             UnitsShared& shared) {
  const EnsemblePlan& plan = ensemble.ensemble->plan;
  const EnsembleUnit unit = plan.Unit(index);
  BatchOptions options = single;
  options.seed = unit.seed;
  options.directory = UnitFolder(ensemble, index);
  options.nameFolder = true;
  options.parameters = plan.ParametersOf(unit, single.parameters);
  options.generator = unit.generator;
  options.actions = UnitActions(ensemble, index);
  if (!PrepareFolder(options.directory)) return 1;
  std::string table = CheckTableHeader();
  const int status = PlaySession(options, shared, table);
  if (status != 0 && status != kDivergedStatus) return status;
  if (!WriteOrReport(options.directory + "/" + kCheckTableName, table)) return 1;
  // The marker goes last: a unit is complete only once everything else is, on the disk too.
  std::string error;
  if (!runtime::SyncFolder(options.directory, error)) {
    ReportError("cannot flush " + error);
    return 1;
  }
  return WriteOrReport(options.directory + "/" + kUnitCompleteName, "") ? status : 1;
}
