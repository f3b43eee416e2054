#pragma once

#include <functional>
#include <vector>

#include "CRand.h"

// How many numbers of the generator an action consumes: the next three draws after the action
// are looked up in a fresh stream from the same seed.
inline int DrawsConsumedBy(const std::function<void(runtime::CRand&)>& action) {
  constexpr unsigned kSeed = 20261207;
  runtime::CRand generator(kSeed);
  action(generator);
  const int a = generator.rand(), b = generator.rand(), c = generator.rand();
  for (int skipped = 0; skipped < 10000; ++skipped) {
    runtime::CRand fresh(kSeed);
    for (int i = 0; i < skipped; ++i) fresh.rand();
    const int x = fresh.rand(), y = fresh.rand(), z = fresh.rand();
    if (x == a && y == b && z == c) return skipped;
  }
  return -1;
}

// The first count draws of a generator seeded with seed.
inline std::vector<int> Draws(unsigned seed, int count) {
  runtime::CRand generator(seed);
  std::vector<int> draws;
  for (int i = 0; i < count; ++i) draws.push_back(generator.rand());
  return draws;
}
