#pragma once

#include <cstdint>

// The C standard's example generator, range 0..32767. The C library's own rand() ranges to
// 2^31-1 on this platform, which would change every initial weight and every stimulus; this one
// gives the same stream for the same seed everywhere. Its whole state is one 32-bit value held
// by whoever owns the generator, so simulations in different threads never share a draw.
namespace runtime {

inline constexpr int kRandMax = 32767;

class CRand {
 public:
  explicit CRand(std::uint32_t seed = 1) : next_(seed) {}

  void srand(std::uint32_t seed) { next_ = seed; }

  // Inline: a training step draws 25 or more numbers.
  int rand() {
    next_ = next_ * 1103515245U + 12345U;
    return static_cast<int>((next_ / 65536U) % 32768U);
  }

  // The state to save; srand(State()) continues the stream exactly.
  std::uint32_t State() const { return next_; }

 private:
  std::uint32_t next_;
};

}  // namespace runtime
