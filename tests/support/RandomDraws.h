#pragma once

#include <functional>

#include "CRand.h"

// How many numbers of runtime::rand an action consumes: the next three draws after the action
// are looked up in a fresh stream from the same seed.
inline int DrawsConsumedBy(const std::function<void()>& action) {
  constexpr unsigned kSeed = 20261207;
  runtime::srand(kSeed);
  action();
  const int a = runtime::rand(), b = runtime::rand(), c = runtime::rand();
  for (int skipped = 0; skipped < 10000; ++skipped) {
    runtime::srand(kSeed);
    for (int i = 0; i < skipped; ++i) runtime::rand();
    const int x = runtime::rand(), y = runtime::rand(), z = runtime::rand();
    if (x == a && y == b && z == c) return skipped;
  }
  return -1;
}
