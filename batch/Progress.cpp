#include "Progress.h"

#include <sys/ioctl.h>

#include <algorithm>

#include "LogChoice.h"

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

std::string LogBytesText(std::uint64_t bytes) {
  return bytes == 0 ? "no logs" : "logs about " + ByteText(bytes);
}

StatusLine::StatusLine(std::FILE* terminal) : terminal_(terminal), start_(Clock::now()) {}

StatusLine::~StatusLine() {
  if (shown_) std::fputs("\r\033[K", terminal_);
}

std::optional<double> StatusLine::Elapsed() const {
  const auto elapsed = Clock::now() - start_;
  if (terminal_ == nullptr || elapsed < kQuietStart) return std::nullopt;
  return std::chrono::duration<double>(elapsed).count();
}

void StatusLine::Show(double fraction, const std::string& text) {
  shown_ = true;
  std::fprintf(terminal_, "\r%s\033[K",
               ProgressLine(TerminalColumns(terminal_), fraction, text).c_str());
  std::fflush(terminal_);
}

Progress::Progress(std::FILE* terminal, std::int64_t total, std::string label)
    : line_(terminal), total_(total), label_(std::move(label)) {}

void Progress::Draw(std::int64_t done) {
  const auto seconds = line_.Elapsed();
  const auto now = Clock::now();
  if (!seconds || now - lastDrawn_ < kRedrawEvery) return;
  lastDrawn_ = now;
  const std::string text = label_ + "  " + std::to_string(done) + "/" + std::to_string(total_) +
                           " steps  " + RateText(done, total_, *seconds);
  line_.Show(static_cast<double>(done) / static_cast<double>(total_), text);
}
