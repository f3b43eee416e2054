#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace runtime {
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

// "" when the open file is a regular file of at most most bytes; else the reason.
std::string KindProblem(int descriptor, std::size_t most, const std::string& kind) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) return std::strerror(errno);
  if (S_ISDIR(status.st_mode)) return "is a folder, not a file";
  if (!S_ISREG(status.st_mode)) return "is not a regular file";
  if (static_cast<std::uintmax_t>(status.st_size) > most) return TooLarge(most, kind);
  return "";
}

// Reads to the end, which may come later than fstat said if the file grows meanwhile.
std::optional<std::string> ReadAtMost(int descriptor, std::size_t most, const std::string& kind,
                                      std::string& error) {
  std::string bytes;
  char buffer[65536];
  while (true) {
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      error = std::strerror(errno);
      return std::nullopt;
    }
    if (count == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(count));
    if (bytes.size() > most) {
      error = TooLarge(most, kind);
      return std::nullopt;
    }
  }
}
}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t most,
                                           const std::string& kind, std::string& error) {
  const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (opened < 0) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  const Descriptor descriptor(opened);
  error = KindProblem(descriptor.get(), most, kind);
  if (!error.empty()) return std::nullopt;
  return ReadAtMost(descriptor.get(), most, kind, error);
}

}  // namespace runtime
