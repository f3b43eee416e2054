#include "SummaryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

SummaryLock::SummaryLock(const std::string& folder)
    : descriptor_(::open((folder + "/.summary.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
  if (descriptor_ < 0) return;
  while (::flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

SummaryLock::~SummaryLock() {
  if (descriptor_ >= 0) ::close(descriptor_);
}
