#include "LogChoice.h"

#include <cstdio>

#include "CommandLine.h"
#include "Printable.h"

namespace {
// The files' lines at the default parameters, measured with orvel-batch --seed 1 run=1000000:
// each weight "%8.5f " (9 bytes) and a newline; the summary's step and four values (43 bytes)
// and the blank that ends a both-eyes line; log.txt's two maxima (18 bytes); and course.csv's
// row of shortest exact numbers, 199 bytes on average.
constexpr std::uint64_t kBytesPerWeight = 9;
constexpr std::uint64_t kSummaryBytes = 44;
constexpr std::uint64_t kProbeBytes = 18;
constexpr std::uint64_t kCourseRowBytes = 199;
}  // namespace

const char* LogChoiceName(LogChoice choice) {
  switch (choice) {
    case LogChoice::kAll:
      return "all";
    case LogChoice::kCourse:
      return "course";
    case LogChoice::kNone:
      return "none";
  }
  return "all";
}

LogChoice ParseLogChoice(const std::string& text) {
  for (LogChoice choice : {LogChoice::kAll, LogChoice::kCourse, LogChoice::kNone}) {
    if (text == LogChoiceName(choice)) return choice;
  }
  throw UsageError("--logs takes all, course or none, not " + runtime::Printable(text));
}

std::int64_t LoggedSteps(std::int64_t steps, std::int64_t logEvery) {
  return steps <= 0 ? 0 : (steps - 1) / logEvery + 1;
}

std::uint64_t BytesPerLoggedStep(const Parameters& parameters, LogChoice choice) {
  if (choice == LogChoice::kNone) return 0;
  if (choice == LogChoice::kCourse) return kCourseRowBytes;
  const auto weights = 2 * static_cast<std::uint64_t>(parameters.EyeWidth());
  return kBytesPerWeight * weights + 1 + kSummaryBytes + kProbeBytes + kCourseRowBytes;
}

std::string ByteText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + " B";
  const char* const units[] = {"kB", "MB", "GB", "TB"};
  double amount = static_cast<double>(bytes) / 1e3;
  std::size_t unit = 0;
  while (amount >= 999.5 && unit + 1 < std::size(units)) {
    amount /= 1e3;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, amount < 9.95 ? "%.1f %s" : "%.0f %s", amount, units[unit]);
  return text;
}
