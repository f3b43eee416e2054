#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "CRand.h"
#include "Pcg32.h"

// The random source a simulation draws from: the classic generator of range 0..32767, or pcg32
// read down to the same range. Code that draws many numbers asks Visit for the concrete generator
// once and draws from it directly, so that neither kind pays for the choice on every draw.
namespace runtime {

enum class GeneratorKind { kClassic, kPcg32 };

// "classic" or "pcg32", as options and files spell them.
std::string_view GeneratorName(GeneratorKind kind);
// The generator so spelt, or nullopt.
std::optional<GeneratorKind> GeneratorNamed(std::string_view name);

// Spreads consecutive seeds over the whole 64-bit space, so that nearby seeds start pcg32 far
// apart.
constexpr std::uint64_t SplitMix64(std::uint64_t x) {
  std::uint64_t z = x + 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30U)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27U)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31U);
}

class Random {
 public:
  Random() = default;  // classic, seeded with 1
  explicit Random(CRand classic) : generator_(classic) {}
  explicit Random(Pcg32 pcg) : generator_(pcg) {}

  // Seed S's two streams. Classic has one stream, which both give; pcg32's differ in their
  // increments only.
  static Random Training(GeneratorKind kind, std::uint32_t seed);
  static Random Measurement(GeneratorKind kind, std::uint32_t seed);

  GeneratorKind Kind() const {
    return std::holds_alternative<CRand>(generator_) ? GeneratorKind::kClassic
                                                     : GeneratorKind::kPcg32;
  }

  // f(generator) with the concrete generator.
  template <class F>
  decltype(auto) Visit(F&& f) {
    if (auto* classic = std::get_if<CRand>(&generator_)) return f(*classic);
    return f(std::get<Pcg32>(generator_));
  }

  // The generator when it is of that kind, else null.
  template <class Kind>
  const Kind* As() const {
    return std::get_if<Kind>(&generator_);
  }

  int rand() {
    return Visit([](auto& generator) { return generator.rand(); });
  }
  template <class Sink>
  void DrawMany(std::size_t count, Sink&& sink) {
    Visit([&](auto& generator) { generator.DrawMany(count, sink); });
  }

  bool operator==(const Random&) const = default;

 private:
  std::variant<CRand, Pcg32> generator_;
};

}  // namespace runtime
