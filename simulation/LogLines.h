#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "CourseRow.h"

// The text of the log lines, each appended whole with its newline. Pure formatting: the writer
// thread turns a batch of logged steps into these.
namespace log_lines {

inline constexpr const char* kCourseHeader =
    "run,step,trained_steps,left_ticked,right_ticked,max_left,max_right,ocular_dominance,theta,"
    "response,response_left,response_right,mean_weight_left,mean_weight_right\n";

// Each weight as "%8.5f ", then a newline.
void AppendWeights(std::string& text, std::span<const double> weights);

// The step as "%6d", each value as " %8.5f", then ending.
void AppendSummary(std::string& text, std::int64_t step, const std::array<double, 4>& values,
                   const char* ending);

// The probe line of "log.txt": the two maxima as "%8.5f %8.5f".
void AppendProbe(std::string& text, double maxLeft, double maxRight);

// A row of "course.csv", every number in its shortest exact form.
void AppendCourse(std::string& text, const CourseRow& row);

}  // namespace log_lines
