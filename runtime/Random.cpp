#include "Random.h"

namespace runtime {

std::string_view GeneratorName(GeneratorKind kind) {
  return kind == GeneratorKind::kClassic ? "classic" : "pcg32";
}

std::optional<GeneratorKind> GeneratorNamed(std::string_view name) {
  for (const GeneratorKind kind : {GeneratorKind::kClassic, GeneratorKind::kPcg32}) {
    if (name == GeneratorName(kind)) return kind;
  }
  return std::nullopt;
}

Random Random::Training(GeneratorKind kind, std::uint32_t seed) {
  if (kind == GeneratorKind::kClassic) return Random(CRand(seed));
  return Random(Pcg32(SplitMix64(seed), 2 * std::uint64_t{seed}));
}

Random Random::Measurement(GeneratorKind kind, std::uint32_t seed) {
  if (kind == GeneratorKind::kClassic) return Random(CRand(seed));
  return Random(Pcg32(SplitMix64(seed), 2 * std::uint64_t{seed} + 1));
}

}  // namespace runtime
