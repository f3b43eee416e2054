#include "EnsembleProgress.h"

#include <string>

#include "Progress.h"

namespace {
constexpr auto kQuietStart = std::chrono::seconds(1);
}  // namespace

EnsembleProgress::EnsembleProgress(std::FILE* terminal, std::size_t units, std::size_t playing,
                                   std::int64_t totalSteps)
    : terminal_(terminal),
      done_(units - playing),
      units_(units),
      totalSteps_(totalSteps),
      start_(std::chrono::steady_clock::now()) {}

EnsembleProgress::~EnsembleProgress() {
  if (shown_) std::fputs("\r\033[K", terminal_);
}

void EnsembleProgress::Draw(std::size_t played, std::int64_t steps) {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  if (terminal_ == nullptr || elapsed < kQuietStart || totalSteps_ <= 0) return;
  shown_ = true;
  const std::size_t done = done_ + played;
  const std::string text =
      "units " + std::to_string(done) + "/" + std::to_string(units_) + "  " +
      RateText(steps, totalSteps_, std::chrono::duration<double>(elapsed).count());
  const double fraction = static_cast<double>(steps) / static_cast<double>(totalSteps_);
  std::fprintf(terminal_, "\r%s\033[K",
               ProgressLine(TerminalColumns(terminal_), fraction, text).c_str());
  std::fflush(terminal_);
}
