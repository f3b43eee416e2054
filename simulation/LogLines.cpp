#include "LogLines.h"

#include "NumberText.h"

namespace log_lines {
namespace {

void AppendNumber(std::string& text, double value) {
  runtime::AppendFixed(text, value, 8, 5);
}

}  // namespace

void AppendWeights(std::string& text, std::span<const double> weights) {
  for (double value : weights) {
    AppendNumber(text, value);
    text += ' ';
  }
  text += '\n';
}

void AppendSummary(std::string& text, std::int64_t step, const std::array<double, 4>& values,
                   const char* ending) {
  runtime::AppendInteger(text, step, 6);
  for (double value : values) {
    text += ' ';
    AppendNumber(text, value);
  }
  text += ending;
}

void AppendProbe(std::string& text, double maxLeft, double maxRight) {
  AppendNumber(text, maxLeft);
  text += ' ';
  AppendNumber(text, maxRight);
  text += '\n';
}

}  // namespace log_lines
