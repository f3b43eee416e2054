#include "Progress.h"

#include <string>

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
constexpr int kBarWidth = 30;
}  // namespace

Progress::Progress(std::FILE* terminal, std::int64_t total)
    : terminal_(terminal), total_(total), start_(Clock::now()) {}

Progress::~Progress() {
  if (shown_) std::fputs("\r\033[K", terminal_);
}

void Progress::Draw(std::int64_t done) {
  const auto now = Clock::now();
  if (now - start_ < kQuietStart || now - lastDrawn_ < kRedrawEvery) return;
  lastDrawn_ = now;
  shown_ = true;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = static_cast<double>(done) / seconds;
  const double fraction = static_cast<double>(done) / static_cast<double>(total_);
  const int filled = static_cast<int>(fraction * kBarWidth);
  const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
  std::fprintf(terminal_, "\r[%s] %lld/%lld steps  %.2fM steps/s  %.0f s left\033[K", bar.c_str(),
               static_cast<long long>(done), static_cast<long long>(total_), rate / 1e6,
               static_cast<double>(total_ - done) / rate);
  std::fflush(terminal_);
}
