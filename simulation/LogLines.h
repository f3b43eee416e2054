#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

// The text of the log lines, each appended whole with its newline. Pure formatting: the writer
// thread turns a batch of logged steps into these.
namespace log_lines {

// Each weight as "%8.5f ", then a newline.
void AppendWeights(std::string& text, std::span<const double> weights);

// The step as "%6d", each value as " %8.5f", then ending.
void AppendSummary(std::string& text, std::int64_t step, const std::array<double, 4>& values,
                   const char* ending);

// The probe line of "log.txt": the two maxima as "%8.5f %8.5f".
void AppendProbe(std::string& text, double maxLeft, double maxRight);

}  // namespace log_lines
