#include "LearningRule.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<LearningRule, std::string_view>, 3> kNames = {{
    {LearningRule::kBcm, "bcm"},
    {LearningRule::kLawCooper, "law-cooper"},
    {LearningRule::kOja, "oja"},
}};
}  // namespace

std::string_view LearningRuleName(LearningRule rule) {
  for (const auto& [known, name] : kNames) {
    if (known == rule) return name;
  }
  return "bcm";
}

std::optional<LearningRule> LearningRuleNamed(std::string_view name) {
  for (const auto& [rule, known] : kNames) {
    if (known == name) return rule;
  }
  return std::nullopt;
}
