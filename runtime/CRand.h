#pragma once

// The C standard's example generator, range 0..32767. The C library's own rand() ranges to
// 2^31-1 on this platform, which would change every initial weight and every stimulus; this one
// gives the same stream for the same seed everywhere. It lives in its own namespace so that it
// never collides with ::rand.
namespace runtime {

inline constexpr int kRandMax = 32767;

void srand(unsigned int seed);
int rand();

}  // namespace runtime
