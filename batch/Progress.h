#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

// The one line a bar is drawn on: left alone for the first second, so that short runs stay
// quiet, and cleared when the line goes away if it was ever drawn.
class StatusLine {
 public:
  explicit StatusLine(std::FILE* terminal);
  ~StatusLine();
  StatusLine(const StatusLine&) = delete;
  StatusLine& operator=(const StatusLine&) = delete;

  // Seconds since the line was made; nothing while it is to stay quiet or has no terminal.
  std::optional<double> Elapsed() const;
  // Draws a bar filled to fraction, then text, fitted to the terminal's width.
  void Show(double fraction, const std::string& text);

 private:
  std::FILE* terminal_;
  std::chrono::steady_clock::time_point start_;
  bool shown_ = false;
};

// A progress bar on standard error for a run of known length: which run, steps done, steps per
// second and time left, shown once the run has taken a second and redrawn a few times a second.
class Progress {
 public:
  Progress(std::FILE* terminal, std::int64_t total, std::string label);

  // Reads the clock, and redraws when the last drawing is old enough: call every few thousand
  // steps, not on every one.
  void Draw(std::int64_t done);

 private:
  StatusLine line_;
  std::int64_t total_;
  std::string label_;
  std::chrono::steady_clock::time_point lastDrawn_;
};

// The columns of the terminal behind stream; 80 when it cannot tell.
int TerminalColumns(std::FILE* stream);

// One line of a bar filled to fraction, then text, in fewer than columns characters (so that
// the cursor never wraps): the bar narrows first, and goes before the text is cut.
std::string ProgressLine(int columns, double fraction, const std::string& text);

// "12.34M steps/s  56 s left" for done of total steps in seconds.
std::string RateText(std::int64_t done, std::int64_t total, double seconds);

// "logs about 4.5 MB": what the logs will take on the disk; "no logs" for none.
std::string LogBytesText(std::uint64_t bytes);
