#pragma once

#include <optional>
#include <string_view>

// How a neuron turns a response into a weight change. kBcm is the classic rule; the others are
// there to be compared with it on the same stimuli.
enum class LearningRule {
  kBcm,        // η x (y − θ) y
  kLawCooper,  // η x (y − θ) y / θ: the threshold also scales the step
  kOja,        // η y (x − y w): Hebbian, normalised; the threshold is kept but not used
};

// "bcm", "law-cooper" or "oja", as options and files spell them.
std::string_view LearningRuleName(LearningRule rule);
std::optional<LearningRule> LearningRuleNamed(std::string_view name);
