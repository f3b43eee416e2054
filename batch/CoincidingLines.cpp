#include "CoincidingLines.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "NumberText.h"

namespace {
// NaN, a value none of the units had, is the same as NaN here: neither group draws it.
bool Same(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

bool Same(const Spread& a, const Spread& b) {
  return Same(a.mean, b.mean) && Same(a.deviation, b.deviation);
}

bool Same(const EnsemblePoint& a, const EnsemblePoint& b) {
  return a.totalSteps == b.totalSteps && Same(a.maxLeft, b.maxLeft) &&
         Same(a.maxRight, b.maxRight) && Same(a.odi, b.odi);
}

// Where two groups' lines part: the step of their first row that differs, or none when they are
// the same throughout. Nothing is hidden unless they share at least one drawn segment (two rows).
struct Parting {
  bool coincide = false;
  std::optional<std::int64_t> atStep;
  bool operator==(const Parting&) const = default;
};

Parting PartingOf(const EnsembleGroup& a, const EnsembleGroup& b) {
  const auto [endA, endB] =
      std::mismatch(a.points.begin(), a.points.end(), b.points.begin(), b.points.end(),
                    [](const auto& p, const auto& q) { return Same(p, q); });
  const auto shared = endA - a.points.begin();
  if (shared < 2) return {};
  if (endA != a.points.end()) return {true, endA->totalSteps};
  if (endB != b.points.end()) return {true, endB->totalSteps};
  return {true, std::nullopt};
}

// label without the part it shares with first up to that part's last '=': "0.05" of
// "closed-noise=0.05" after "closed-noise=0".
std::string Differing(const std::string& first, const std::string& label) {
  const std::string shared(
      first.begin(), std::mismatch(first.begin(), first.end(), label.begin(), label.end()).first);
  const std::size_t equals = shared.rfind('=');
  return equals == std::string::npos ? label : label.substr(equals + 1);
}

std::string Phrase(const std::vector<EnsembleGroup>& groups, const std::vector<std::size_t>& named,
                   const Parting& parting) {
  std::string phrase = groups[named.front()].label;
  for (std::size_t i = 1; i < named.size(); ++i) {
    phrase += i + 1 == named.size() ? " and " : ", ";
    phrase += Differing(groups[named.front()].label, groups[named[i]].label);
  }
  return phrase + " coincide " +
         (parting.atStep ? "before step " + runtime::GroupedDigits(*parting.atStep) : "throughout");
}
}  // namespace

std::string CoincidingLinesNote(const std::vector<EnsembleGroup>& groups) {
  std::vector<bool> named(groups.size(), false);
  std::string note;
  for (std::size_t first = 0; first < groups.size(); ++first) {
    if (named[first]) continue;
    // The groups that coincide with this one, by where they part from it, in the groups' order.
    std::vector<std::pair<Parting, std::vector<std::size_t>>> partings;
    for (std::size_t other = first + 1; other < groups.size(); ++other) {
      const Parting parting = PartingOf(groups[first], groups[other]);
      if (named[other] || !parting.coincide) continue;
      named[other] = true;
      auto same = std::find_if(partings.begin(), partings.end(),
                               [&](const auto& known) { return known.first == parting; });
      if (same == partings.end()) same = partings.insert(partings.end(), {parting, {first}});
      same->second.push_back(other);
    }
    for (const auto& [parting, members] : partings) {
      note += (note.empty() ? "" : "; ") + Phrase(groups, members, parting);
    }
  }
  return note;
}
