#pragma once

#include <string>

// Shards that finish together each rebuild summary.csv and the figure from the units complete at
// that moment. Each file is renamed into place whole, but a shard that looked before another's
// last unit completed could rename after that shard did and put back a summary without the unit.
// Holding DIR/.summary.lock from the look to the rename makes the last to rebuild the one that saw
// every complete unit. Where the folder's file system takes no locks, or no new file, the rebuild
// goes on without: its files are still whole.
class SummaryLock {
 public:
  // Waits until no other process holds the folder's lock.
  explicit SummaryLock(const std::string& folder);
  ~SummaryLock();
  SummaryLock(const SummaryLock&) = delete;
  SummaryLock& operator=(const SummaryLock&) = delete;

 private:
  int descriptor_;
};
