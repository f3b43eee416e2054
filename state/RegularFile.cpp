#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "StateError.h"

namespace {
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() { ::close(descriptor_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

std::string TooLarge(std::size_t most, const std::string& kind) {
  return "is larger than " + std::to_string(most) + " bytes: too large for " + kind;
}

void CheckKind(int descriptor, std::size_t most, const std::string& kind) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) throw StateError(std::strerror(errno));
  if (S_ISDIR(status.st_mode)) throw StateError("is a folder, not a file");
  if (!S_ISREG(status.st_mode)) throw StateError("is not a regular file");
  if (static_cast<std::uintmax_t>(status.st_size) > most) throw StateError(TooLarge(most, kind));
}

// Reads to the end, which may come later than fstat said if the file grows meanwhile.
std::string ReadAtMost(int descriptor, std::size_t most, const std::string& kind) {
  std::string bytes;
  char buffer[65536];
  while (true) {
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw StateError(std::strerror(errno));
    if (count == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(count));
    if (bytes.size() > most) throw StateError(TooLarge(most, kind));
  }
}
}  // namespace

std::string ReadRegularFile(const std::string& path, std::size_t most, const std::string& kind) {
  const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (opened < 0) throw StateError(std::strerror(errno));
  const Descriptor descriptor(opened);
  CheckKind(descriptor.get(), most, kind);
  return ReadAtMost(descriptor.get(), most, kind);
}
