#include "LoadPlaceholders.h"

#include <array>
#include <string_view>

namespace {
constexpr std::string_view kSeed = "{seed}";
constexpr std::string_view kUnit = "{unit}";

std::string_view PlaceholderAt(const std::string& path, std::size_t at) {
  for (const std::string_view placeholder : std::array{kSeed, kUnit}) {
    if (path.compare(at, placeholder.size(), placeholder) == 0) return placeholder;
  }
  return {};
}
}  // namespace

std::string PlaceholderProblem(const std::string& path) {
  for (std::size_t at = path.find('{'); at != std::string::npos; at = path.find('{', at + 1)) {
    if (PlaceholderAt(path, at).empty()) {
      const std::size_t close = path.find('}', at);
      const std::string what = close == std::string::npos
                                   ? "a { that opens no placeholder"
                                   : "an unknown placeholder " + path.substr(at, close - at + 1);
      return what + " (an ensemble's load= knows {seed} and {unit})";
    }
  }
  return "";
}

bool HasPlaceholder(const std::string& path) {
  return path.find(kSeed) != std::string::npos || path.find(kUnit) != std::string::npos;
}

std::string FillPlaceholders(const std::string& path, std::uint32_t seed, const std::string& unit) {
  std::string filled;
  for (std::size_t at = 0; at < path.size();) {
    const std::string_view placeholder = path[at] == '{' ? PlaceholderAt(path, at) : "";
    if (placeholder.empty()) {
      filled += path[at++];
      continue;
    }
    filled += placeholder == kSeed ? std::to_string(seed) : unit;
    at += placeholder.size();
  }
  return filled;
}
