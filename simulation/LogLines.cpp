#include "LogLines.h"

#include <charconv>
#include <cmath>

#include "NumberText.h"
#include "OcularDominance.h"

namespace log_lines {
namespace {

void AppendNumber(std::string& text, double value) {
  runtime::AppendFixed(text, value, 8, 5);
}

void AppendUnsigned(std::string& text, std::uint64_t value) {
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
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

void AppendCourse(std::string& text, const CourseRow& row) {
  runtime::AppendInteger(text, row.run, 0);
  text += ',';
  runtime::AppendInteger(text, row.step, 0);
  text += ',';
  AppendUnsigned(text, row.trainedSteps);
  text += row.leftTicked ? ",1" : ",0";
  text += row.rightTicked ? ",1," : ",0,";
  runtime::AppendShortest(text, row.maxLeft);
  text += ',';
  runtime::AppendShortest(text, row.maxRight);
  text += ',';
  // Undefined when neither eye drives the neuron: left empty, as table readers expect.
  if (const double odi = OcularDominance(row.maxLeft, row.maxRight); !std::isnan(odi)) {
    runtime::AppendShortest(text, odi);
  }
  for (double value :
       {row.theta, row.y, row.yLeft, row.yRight, row.meanLeftWeight, row.meanRightWeight}) {
    text += ',';
    runtime::AppendShortest(text, value);
  }
  text += '\n';
}

}  // namespace log_lines
