#include "GeneratorList.h"

#include <algorithm>

std::optional<std::vector<runtime::GeneratorKind>> ParseGeneratorList(std::string_view text) {
  std::vector<runtime::GeneratorKind> generators;
  for (std::size_t start = 0;;) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const auto generator = runtime::GeneratorNamed(text.substr(start, comma - start));
    if (!generator || std::count(generators.begin(), generators.end(), *generator) > 0) {
      return std::nullopt;
    }
    generators.push_back(*generator);
    if (comma == text.size()) return generators;
    start = comma + 1;
  }
}
