#pragma once

#include <cstddef>
#include <cstdint>

// The PCG family's generator with 64 bits of state and 32-bit output (XSH-RR). Seeded as its
// authors' reference seeds it, so that their published vectors check it. The increment chooses
// the stream, so one seed gives a simulation two: one to train on and one to measure with.
namespace runtime {

class Pcg32 {
 public:
  static constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;

  constexpr Pcg32(std::uint64_t initstate, std::uint64_t initseq)
      : state_(0), increment_((initseq << 1U) | 1U) {
    Step();
    state_ += initstate;
    Step();
  }

  // The next 32-bit output.
  constexpr std::uint32_t Next() {
    const std::uint64_t old = state_;
    Step();
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rotation = static_cast<std::uint32_t>(old >> 59U);
    return (xorshifted >> rotation) | (xorshifted << ((32U - rotation) & 31U));
  }

  // The top 15 bits: 0..32767, the classic generator's range, so every formula reads it alike.
  int rand() { return static_cast<int>(Next() >> 17U); }

  // Calls sink(i, r) for i = 0..count-1 with the numbers count calls of rand() would return.
  template <class Sink>
  void DrawMany(std::size_t count, Sink&& sink) {
    for (std::size_t i = 0; i < count; ++i) sink(i, rand());
  }

  std::uint64_t State() const { return state_; }
  std::uint64_t Increment() const { return increment_; }
  // Continues a stream from its saved state and increment; the increment of any stream is odd.
  static constexpr Pcg32 Continuing(std::uint64_t state, std::uint64_t increment) {
    Pcg32 generator(0, 0);
    generator.state_ = state;
    generator.increment_ = increment;
    return generator;
  }

  bool operator==(const Pcg32&) const = default;

 private:
  constexpr void Step() { state_ = state_ * kMultiplier + increment_; }

  std::uint64_t state_;
  std::uint64_t increment_;
};

}  // namespace runtime
