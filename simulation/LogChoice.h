#pragma once

#include <cstdint>
#include <string>

#include "Parameters.h"

// Which files a session writes beside run.json: --logs of both programs, File → Logging of the
// window. None changes a result: the probe runs at every logged step whatever is written. In the
// order of less written, which comparisons rely on.
enum class LogChoice {
  kAll,     // the seven classic logs and course.csv
  kCourse,  // course.csv only
  kNone,    // nothing but run.json
};

// "all", "course" or "none", as --logs takes it.
const char* LogChoiceName(LogChoice choice);
// The value of --logs; throws UsageError for any other text.
LogChoice ParseLogChoice(const std::string& text);

// Logged steps of a run of steps steps: steps 0, logEvery, 2 logEvery, ...
std::int64_t LoggedSteps(std::int64_t steps, std::int64_t logEvery);

// The bytes a logged step adds to the files choice writes, with both eyes ticked; measured on
// the default parameters, the weight line scaled to the eyes' width.
std::uint64_t BytesPerLoggedStep(const Parameters& parameters, LogChoice choice);

// "155 B", "4.5 MB", "120 MB", "3.2 GB": bytes as a person reads them, in powers of 1000 as
// du -b and file managers count.
std::string ByteText(std::uint64_t bytes);
