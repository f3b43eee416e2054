#include "LogWrite.h"

#include <unistd.h>

#include <cerrno>

namespace log_write {
namespace {
// The smallest page of the systems we run on; larger pages have their boundaries on its.
constexpr std::uint64_t kPage = 4096;

// The length of the whole lines of text within its first limit bytes.
std::size_t LinesWithin(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  const std::size_t end = text.rfind('\n', limit - 1);
  return end == std::string_view::npos ? 0 : end + 1;
}

// A device such as /dev/full cannot be cut; its offset means nothing either.
void CutBack(int fd, std::uint64_t lineEnd, std::uint64_t& offset) {
  if (offset == lineEnd) return;
  const auto length = static_cast<off_t>(lineEnd);
  if (::ftruncate(fd, length) == 0 && ::lseek(fd, length, SEEK_SET) == length) offset = lineEnd;
}
}  // namespace

std::size_t NextWrite(std::string_view text, std::uint64_t offset) {
  const auto room = static_cast<std::size_t>(kPage - offset % kPage);
  if (const std::size_t length = LinesWithin(text, room)) return length;
  if (const std::size_t length = LinesWithin(text, room + kPage)) return length;
  const std::size_t end = text.find('\n');  // a line longer than a page
  return end == std::string_view::npos ? text.size() : end + 1;
}

int WriteWholeLines(int fd, std::string_view text, std::uint64_t& offset, const WriteCall& write) {
  std::uint64_t lineEnd = offset;
  while (!text.empty()) {
    const std::size_t length = NextWrite(text, offset);
    const ssize_t written = write(fd, text.data(), length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int error = written < 0 ? errno : EIO;  // 0: never for a file that takes bytes
      CutBack(fd, lineEnd, offset);
      return error;
    }
    const std::string_view taken = text.substr(0, static_cast<std::size_t>(written));
    if (const std::size_t end = taken.rfind('\n'); end != std::string_view::npos) {
      lineEnd = offset + end + 1;
    }
    offset += static_cast<std::uint64_t>(written);
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace log_write
