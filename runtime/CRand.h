#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

// The C standard's example generator, range 0..32767. The C library's own rand() ranges to
// 2^31-1 on this platform, which would change every initial weight and every stimulus; this one
// gives the same stream for the same seed everywhere. Its whole state is one 32-bit value held
// by whoever owns the generator, so simulations in different threads never share a draw.
namespace runtime {

inline constexpr int kRandMax = 32767;

// k steps of the generator at once: state * multiplier + increment, in the same unsigned
// arithmetic, so the result is exactly that of k single steps.
struct RandLeap {
  std::uint32_t multiplier;
  std::uint32_t increment;
  constexpr std::uint32_t From(std::uint32_t state) const { return state * multiplier + increment; }
};

// kRandLeaps[k] makes k + 1 steps.
inline constexpr std::array<RandLeap, 16> kRandLeaps = [] {
  std::array<RandLeap, 16> leaps{};
  RandLeap leap{1103515245U, 12345U};
  for (RandLeap& entry : leaps) {
    entry = leap;
    leap = {leap.multiplier * 1103515245U, leap.increment * 1103515245U + 12345U};
  }
  return leaps;
}();

class CRand {
 public:
  explicit CRand(std::uint32_t seed = 1) : next_(seed) {}

  void srand(std::uint32_t seed) { next_ = seed; }

  // Inline: a training step draws 25 or more numbers.
  int rand() {
    next_ = kRandLeaps[0].From(next_);
    return Value(next_);
  }

  // Calls sink(i, r) for i = 0..count-1 with the numbers count calls of rand() would return, in
  // that order, and leaves the generator where they would. Each state is reached from the first
  // by a precomputed leap instead of from its predecessor, so a row's multiplications do not wait
  // for one another; unsigned arithmetic makes the leap exact.
  template <class Sink>
  void DrawMany(std::size_t count, Sink&& sink) {
    std::uint32_t base = next_;
    for (std::size_t done = 0; done < count;) {
      const std::size_t chunk = std::min(count - done, kRandLeaps.size());
      for (std::size_t k = 0; k < chunk; ++k) sink(done + k, Value(kRandLeaps[k].From(base)));
      base = kRandLeaps[chunk - 1].From(base);
      done += chunk;
    }
    next_ = base;
  }

  // The state to save; srand(State()) continues the stream exactly.
  std::uint32_t State() const { return next_; }

  bool operator==(const CRand&) const = default;

 private:
  static int Value(std::uint32_t state) { return static_cast<int>((state / 65536U) % 32768U); }

  std::uint32_t next_;
};

}  // namespace runtime
