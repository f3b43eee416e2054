#include "FreeSpaceGuard.h"

#include <sys/statvfs.h>

#include <algorithm>

namespace {
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
}  // namespace

FreeSpaceGuard::FreeSpaceGuard(std::string folder, Probe probe, std::chrono::milliseconds interval)
    : folder_(folder.empty() ? "." : std::move(folder)),
      probe_(probe ? std::move(probe) : SystemSpace),
      interval_(interval) {}

bool FreeSpaceGuard::Enough() {
  const auto now = std::chrono::steady_clock::now();
  if (!enough_ || now < nextCheck_) return enough_;
  nextCheck_ = now + interval_;
  const std::optional<Space> space = probe_(folder_);
  if (!space) return enough_;
  lastFree_ = space->free;
  enough_ = space->free >= std::min(kGiB, space->total / 20);
  return enough_;
}

std::optional<FreeSpaceGuard::Space> FreeSpaceGuard::SystemSpace(const std::string& folder) {
  struct statvfs status {};
  if (::statvfs(folder.c_str(), &status) != 0) return std::nullopt;
  return Space{std::uint64_t{status.f_bavail} * status.f_frsize,
               std::uint64_t{status.f_blocks} * status.f_frsize};
}
