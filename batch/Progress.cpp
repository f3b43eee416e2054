#include "Progress.h"

#include <sys/ioctl.h>

#include <algorithm>

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
constexpr int kWidestBar = 30;
constexpr int kNarrowestBar = 5;
}  // namespace

int TerminalColumns(std::FILE* stream) {
  winsize size{};
  if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
  return size.ws_col;
}

std::string ProgressLine(int columns, double fraction, const std::string& text) {
  const auto room = static_cast<std::size_t>(std::max(columns - 1, 0));
  // "[" bar "] " text
  const int width = std::min(kWidestBar, columns - 1 - 3 - static_cast<int>(text.size()));
  if (width < kNarrowestBar) return text.substr(0, room);
  const int filled = std::clamp(static_cast<int>(fraction * width), 0, width);
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(width - filled), '.') + "] " + text;
}

std::string RateText(std::int64_t done, std::int64_t total, double seconds) {
  const double rate = static_cast<double>(done) / seconds;
  char text[64];
  std::snprintf(text, sizeof text, "%.2fM steps/s  %.0f s left", rate / 1e6,
                static_cast<double>(total - done) / rate);
  return text;
}

Progress::Progress(std::FILE* terminal, std::int64_t total, std::string label)
    : terminal_(terminal), total_(total), label_(std::move(label)), start_(Clock::now()) {}

Progress::~Progress() {
  if (shown_) std::fputs("\r\033[K", terminal_);
}

void Progress::Draw(std::int64_t done) {
  const auto now = Clock::now();
  if (now - start_ < kQuietStart || now - lastDrawn_ < kRedrawEvery) return;
  lastDrawn_ = now;
  shown_ = true;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const std::string text = label_ + "  " + std::to_string(done) + "/" + std::to_string(total_) +
                           " steps  " + RateText(done, total_, seconds);
  const double fraction = static_cast<double>(done) / static_cast<double>(total_);
  std::fprintf(terminal_, "\r%s\033[K",
               ProgressLine(TerminalColumns(terminal_), fraction, text).c_str());
  std::fflush(terminal_);
}
