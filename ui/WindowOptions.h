#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Lesson.h"
#include "LogChoice.h"
#include "Parameters.h"
#include "Random.h"

// What the window is started with: every option has a default that gives the classic window.
struct WindowOptions {
  bool help = false;
  bool version = false;
  std::optional<std::uint32_t> seed;  // unset: the clock's second at start-up
  std::string directory;              // where the logs go; "" is the working directory
  bool newSession = false;  // the logs go to a new folder of their own (see SessionFolder)
  std::int64_t speed = 0;   // training steps a second; 0 is as fast as the machine goes
  LogChoice logs = LogChoice::kAll;
  runtime::GeneratorKind generator = runtime::GeneratorKind::kClassic;
  Parameters parameters;
  std::optional<Lesson> lesson;  // --lesson FILE: played once the window is up
};

// Throws UsageError, naming the argument, on the first fault; checks the folder is writable.
WindowOptions ParseWindowOptions(const std::vector<std::string>& arguments);

// The --help text.
std::string WindowUsage();
