#pragma once

#include <utility>

namespace runtime {

// Owns one open file descriptor and closes it exactly once: in Close(), or else in the destructor,
// so that an owner whose constructor throws half-way leaks none of the files it opened. A number
// closed twice might by then name another thread's file, so a move leaves the source empty.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  // Takes fd, or nothing when it is negative (a failed open).
  explicit FileDescriptor(int fd) : fd_(fd < 0 ? -1 : fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }

  // Closes now; returns 0, or close's errno (a late write error on some file systems). The
  // descriptor is gone either way: close is never retried.
  int Close();

 private:
  int fd_ = -1;
};

}  // namespace runtime
