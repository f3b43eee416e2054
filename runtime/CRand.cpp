#include "CRand.h"

#include <cstdint>

namespace runtime {
namespace {
std::uint32_t next = 1;
}

void srand(unsigned int seed) {
  next = seed;
}

int rand() {
  next = next * 1103515245U + 12345U;
  return static_cast<int>((next / 65536U) % 32768U);
}

}  // namespace runtime
