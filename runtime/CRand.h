#pragma once

#include <cstdint>

// The C standard's example generator, range 0..32767. The C library's own rand() ranges to
// 2^31-1 on this platform, which would change every initial weight and every stimulus; this one
// gives the same stream for the same seed everywhere. It lives in its own namespace so that it
// never collides with ::rand, and inline because a step draws 25 or more numbers.
namespace runtime {

inline constexpr int kRandMax = 32767;

namespace detail {
inline std::uint32_t next = 1;
}

inline void srand(unsigned int seed) {
  detail::next = seed;
}

inline int rand() {
  detail::next = detail::next * 1103515245U + 12345U;
  return static_cast<int>((detail::next / 65536U) % 32768U);
}

}  // namespace runtime
