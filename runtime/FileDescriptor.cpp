#include "FileDescriptor.h"

#include <unistd.h>

#include <cerrno>

namespace runtime {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

int FileDescriptor::Close() {
  if (fd_ < 0) return 0;
  return ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno;
}

}  // namespace runtime
