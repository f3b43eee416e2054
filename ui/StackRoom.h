#pragma once

#include <cstddef>

// How much of the calling thread's stack lies below the caller's frame, and how much there is.
struct StackRoom {
  std::size_t used = 0;
  std::size_t size = 0;
};

// Zeros when the system cannot say.
StackRoom CurrentStackRoom();
