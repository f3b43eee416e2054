#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The lists an ensemble's command line gives: seeds as "1-5,9" and a parameter's values as
// "0,0.05,0.1". Both throw UsageError naming the list when it is malformed.

struct SeedRange {
  std::uint32_t first;
  std::uint32_t last;  // first <= last
  std::uint64_t Count() const { return std::uint64_t{last} - first + 1; }
};

// Ranges and single seeds, comma-separated, in the order given; a seed listed twice is refused.
std::vector<SeedRange> ParseSeedRanges(const std::string& text);

std::uint64_t SeedCount(const std::vector<SeedRange>& ranges);

// Every seed of the ranges, in order: call only once the count is known to be reasonable.
std::vector<std::uint32_t> ExpandSeeds(const std::vector<SeedRange>& ranges);

// The comma-separated items of text, none of them empty.
std::vector<std::string> SplitList(const std::string& text, const std::string& what);
