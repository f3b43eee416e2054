#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "StopSignal.h"

// One unit of an ensemble, played into its own folder exactly as the single session
// `orvel-batch --seed S --dir FOLDER [its parameters] ACTIONS` would, with its listing in
// checks.txt and the listing's exact numbers in checks.csv beside the logs. The completion marker
// is written last, so a unit interrupted anywhere is redone from scratch by a rerun.

// The unit's folder: the ensemble's folder, then the plan's folder for the unit. It belongs
// to the unit alone: playing the unit empties it first.
std::string UnitFolder(const BatchOptions& ensemble, std::size_t index);

// The folders of all the ensemble's units, whichever shard plays them. A unit empties its folder
// as it starts, so a state loaded from one could be gone before it is read.
class UnitFolders {
 public:
  explicit UnitFolders(const BatchOptions& ensemble);
  // The unit folder that holds path, as the ensemble names it; "" when none does.
  std::string Holding(const std::string& path) const;

 private:
  std::map<std::filesystem::path, std::string> folders_;  // comparable path, ensemble's name
};

// Whether the unit's folder holds its completion marker.
bool UnitComplete(const std::string& folder);

// This shard's units that are still to play (all of them with --force), in the ensemble's order;
// shardUnits gets how many the shard has.
std::vector<std::size_t> UnitsToPlay(const BatchOptions& ensemble, std::size_t& shardUnits);

// The unit's actions as its single session plays them, the command line's then its protocol's:
// save= in the unit's folder, load= with
// its placeholders filled in, each word spelt anew for the unit's run.json.
std::vector<Action> UnitActions(const BatchOptions& ensemble, std::size_t index);

// For every unit of the ensemble, in its order: whether it is complete, and the training step
// its session diverged at, if it did (a diverged unit is complete: replaying it would diverge
// again). Looked up once for the summary and the figure alike.
struct UnitStates {
  std::vector<bool> complete;
  std::vector<std::optional<std::uint64_t>> divergedAt;
  std::size_t Diverged() const;
};
UnitStates UnitStatesOf(const BatchOptions& ensemble);

// What the jobs share with the units they play: the steps taken, for the progress bar, and what
// ends them all early.
struct UnitsShared {
  std::atomic<std::int64_t> steps = 0;
  StopSignal stop;
};

// single: the ensemble's options without the ensemble, the template every unit's session
// starts from. Returns the session's exit status (as RunBatch's); a unit that diverged is
// complete all the same.
int PlayUnit(const BatchOptions& ensemble, const BatchOptions& single, std::size_t index,
             UnitsShared& shared);
