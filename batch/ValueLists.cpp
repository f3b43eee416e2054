#include "ValueLists.h"

#include <algorithm>

#include "CommandLine.h"
#include "Printable.h"

namespace {
std::uint32_t ParseSeedNumber(const std::string& text, const std::string& list) {
  const auto seed = SeedNumber(text);
  if (!seed) {
    throw UsageError(std::string("--seeds takes seeds ") + kSeedRange + " as A-B or A,B,C, not " +
                     runtime::Printable(list));
  }
  return *seed;
}

SeedRange ParseRange(const std::string& item, const std::string& list) {
  const auto dash = item.find('-');
  if (dash == std::string::npos) {
    const std::uint32_t seed = ParseSeedNumber(item, list);
    return {seed, seed};
  }
  const SeedRange range{ParseSeedNumber(item.substr(0, dash), list),
                        ParseSeedNumber(item.substr(dash + 1), list)};
  if (range.first > range.last) {
    throw UsageError("--seeds range " + runtime::Printable(item) + " runs backwards");
  }
  return range;
}

bool Overlap(const SeedRange& a, const SeedRange& b) {
  return a.first <= b.last && b.first <= a.last;
}
}  // namespace

std::vector<std::string> SplitList(const std::string& text, const std::string& what) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1) {
    items.push_back(text.substr(start, comma - start));
  }
  items.push_back(text.substr(start));
  if (std::any_of(items.begin(), items.end(),
                  [](const std::string& item) { return item.empty(); })) {
    throw UsageError(what + " has an empty item in its list: " + runtime::Printable(text));
  }
  return items;
}

std::vector<SeedRange> ParseSeedRanges(const std::string& text) {
  std::vector<SeedRange> ranges;
  for (const std::string& item : SplitList(text, "--seeds")) {
    const SeedRange range = ParseRange(item, text);
    for (const SeedRange& earlier : ranges) {
      if (Overlap(earlier, range)) {
        throw UsageError("--seeds lists a seed twice: " + runtime::Printable(text));
      }
    }
    ranges.push_back(range);
  }
  return ranges;
}

std::uint64_t SeedCount(const std::vector<SeedRange>& ranges) {
  std::uint64_t count = 0;
  for (const SeedRange& range : ranges) count += range.Count();
  return count;
}

std::vector<std::uint32_t> ExpandSeeds(const std::vector<SeedRange>& ranges) {
  std::vector<std::uint32_t> seeds;
  for (const SeedRange& range : ranges) {
    for (std::uint64_t seed = range.first; seed <= range.last; ++seed) {
      seeds.push_back(static_cast<std::uint32_t>(seed));
    }
  }
  return seeds;
}
