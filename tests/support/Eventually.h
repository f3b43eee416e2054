#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls condition until it holds or ten seconds have passed, and says whether it held: for what
// another thread writes. The deadline is generous on purpose; speed is for the benchmarks.
inline bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
