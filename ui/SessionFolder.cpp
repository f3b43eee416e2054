#include "SessionFolder.h"

#include <cstdlib>

namespace {
std::string DataHome() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return data;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.local/share";
}

// Sorts as it reads and holds no colon, which some file managers and archivers refuse.
std::string UtcName(std::time_t start) {
  std::tm utc{};
  ::gmtime_r(&start, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H%M%SZ", &utc);
  return text;
}
}  // namespace

std::string SessionFolder(std::uint32_t seed, std::time_t start) {
  return DataHome() + "/orvel/sessions/" + UtcName(start) + "-seed-" + std::to_string(seed);
}
