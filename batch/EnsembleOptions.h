#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "BatchOptions.h"

// The part of orvel-batch's command line that makes an ensemble: --seeds, lists of parameter
// values, generators and protocols, --jobs, --shard, --force, --course-format, --error; gathered
// as text while the command line is read, and checked once all of it is known.
struct EnsembleArguments {
  std::optional<std::string> seeds, jobs, shard, courseFormat, generator, protocols, errorBars;
  bool force = false;
  bool seedGiven = false, folderGiven = false;
  // --summarize: the protocols are the record's, their files perhaps long gone.
  bool summarizing = false;
  // Every parameter option as given, lists included, in command-line order.
  std::vector<std::pair<const ParameterOption*, std::string>> parameters;

  // Takes arguments[i] when it is one of the ensemble's own options.
  bool Take(const std::vector<std::string>& arguments, std::size_t& i);
};

// Whether a parameter's value text is a list of values.
inline bool IsValueList(const std::string& value) {
  return value.find(',') != std::string::npos;
}

// Sets options.ensemble from the arguments when --seeds is given, refusing with UsageError every
// combination that makes no sense, and an ensemble folder made by another command (unless
// --force). Without --seeds, refuses the options and lists that only an ensemble takes, and sets
// the single session's generator.
void FinishEnsembleOptions(BatchOptions& options, const EnsembleArguments& arguments);

inline constexpr std::uint64_t kMostUnits = 1'000'000;
// One thread each: beyond this a typo (--jobs 1000 for 100) costs memory and no speed.
inline constexpr unsigned kMostJobs = 256;
