#pragma once

#include <cstddef>
#include <cstdint>

// The PCG family's generator with 64 bits of state and 32-bit output (XSH-RR). Seeded as its
// authors' reference seeds it, so that their published vectors check it. The increment chooses
// the stream, so one seed gives a simulation two: one to train on and one to measure with.
namespace runtime {

inline constexpr std::uint64_t kPcgMultiplier = 6364136223846793005ULL;

class Pcg32 {
 public:
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
    return Output(old);
  }

  // The top 15 bits: 0..32767, the classic generator's range, so every formula reads it alike.
  int rand() { return static_cast<int>(Next() >> 17U); }

  // Calls sink(i, r) for i = 0..count-1 with the numbers count calls of rand() would return, and
  // leaves the generator where they would. Four states a step apart leap four steps at a time,
  // so that the multiplications of a row do not wait for one another as single steps would; the
  // states are named, not an array, so that they stay in registers.
  template <class Sink>
  void DrawMany(std::size_t count, Sink&& sink) {
    std::uint64_t a = state_;
    std::uint64_t b = a * kPcgMultiplier + increment_;
    std::uint64_t c = b * kPcgMultiplier + increment_;
    std::uint64_t d = c * kPcgMultiplier + increment_;
    const std::uint64_t increment = increment_ * kFourStepsFactor;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
      sink(i, DrawnAt(a));
      sink(i + 1, DrawnAt(b));
      sink(i + 2, DrawnAt(c));
      sink(i + 3, DrawnAt(d));
      a = a * kFourStepsMultiplier + increment;
      b = b * kFourStepsMultiplier + increment;
      c = c * kFourStepsMultiplier + increment;
      d = d * kFourStepsMultiplier + increment;
    }
    const std::size_t rest = count - i;
    if (rest > 0) sink(i, DrawnAt(a));
    if (rest > 1) sink(i + 1, DrawnAt(b));
    if (rest > 2) sink(i + 2, DrawnAt(c));
    state_ = rest == 0 ? a : rest == 1 ? b : rest == 2 ? c : d;
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
  // Four steps at once: state * kPcgMultiplier^4 + increment * (1 + M + M^2 + M^3).
  static constexpr std::uint64_t kFourStepsMultiplier =
      kPcgMultiplier * kPcgMultiplier * kPcgMultiplier * kPcgMultiplier;
  static constexpr std::uint64_t kFourStepsFactor =
      1 + kPcgMultiplier + kPcgMultiplier * kPcgMultiplier +
      kPcgMultiplier * kPcgMultiplier * kPcgMultiplier;

  constexpr void Step() { state_ = state_ * kPcgMultiplier + increment_; }

  // The number rand() gives when the state is old.
  static int DrawnAt(std::uint64_t old) { return static_cast<int>(Output(old) >> 17U); }

  // XSH-RR: the high bits xor-shifted down, rotated by the top five.
  static constexpr std::uint32_t Output(std::uint64_t old) {
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rotation = static_cast<std::uint32_t>(old >> 59U);
    return (xorshifted >> rotation) | (xorshifted << ((32U - rotation) & 31U));
  }

  std::uint64_t state_;
  std::uint64_t increment_;
};

}  // namespace runtime
