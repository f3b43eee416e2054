#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Whether a folder's file system still has room for logs: at least 1 GiB or 5% of it free,
// whichever is smaller. A run at full speed writes megabytes of logs a second, so a full disk
// must be seen coming, not found out by failing writes of other programs too.
class FreeSpaceGuard {
 public:
  struct Space {
    std::uint64_t free;   // bytes available to this user
    std::uint64_t total;  // bytes in the file system
  };
  using Probe = std::function<std::optional<Space>(const std::string& folder)>;

  // Asks the system unless probe is given, at most once per interval; a folder the probe cannot
  // measure counts as roomy.
  explicit FreeSpaceGuard(std::string folder, Probe probe = {},
                          std::chrono::milliseconds interval = std::chrono::seconds(1));

  // False once the folder runs short. Cheap: the file system is asked at most once an interval.
  bool Enough();
  // The last free space measured, in bytes.
  std::uint64_t LastFree() const { return lastFree_; }

  static std::optional<Space> SystemSpace(const std::string& folder);

 private:
  std::string folder_;
  Probe probe_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point nextCheck_;
  std::uint64_t lastFree_ = 0;
  bool enough_ = true;
};
