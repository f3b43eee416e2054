#include "LearningRule.h"

#include <array>
#include <cstddef>

namespace {
// In the order of the enumeration.
constexpr std::array<std::string_view, 3> kNames = {"bcm", "law-cooper", "oja"};
}  // namespace

std::string_view LearningRuleName(LearningRule rule) {
  return kNames[static_cast<std::size_t>(rule)];
}

std::optional<LearningRule> LearningRuleNamed(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<LearningRule>(i);
  }
  return std::nullopt;
}
