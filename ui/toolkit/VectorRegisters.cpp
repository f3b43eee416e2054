#include "VectorRegisters.h"

#if defined(__x86_64__) || defined(__i386__)
namespace {
__attribute__((target("avx"))) void ZeroUpper() {
  __builtin_ia32_vzeroupper();
}
}  // namespace

void ZeroUpperVectorHalves() {
  // A processor without AVX has no upper halves, and would fault on the instruction.
  static const bool hasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx") != 0);
  if (hasAvx) ZeroUpper();
}
#else
void ZeroUpperVectorHalves() {}
#endif
