#include "RunLogs.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "Bcm.h"
#include "LogNames.h"
#include "NumberText.h"

namespace {

void AppendNumber(std::string& line, double value) {
  runtime::AppendFixed(line, value, 8, 5);
}

constexpr const char* kCourseName = "course.csv";
constexpr const char* kCourseHeader =
    "run,step,trained_steps,left_ticked,right_ticked,max_left,max_right,ocular_dominance,theta,"
    "response,response_left,response_right,mean_weight_left,mean_weight_right\n";

// The shortest text that reads back as exactly this number, with a full stop in any locale.
void AppendExact(std::string& line, double value) {
  char text[32];
  line.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}
}  // namespace

RunLogs::RunLogs(const std::string& directory, std::string program,
                 std::optional<FreeSpaceGuard> space, bool course)
    : program_(std::move(program)), space_(space ? std::move(*space) : FreeSpaceGuard(directory)) {
  for (int file = kLog; file < kCourse; ++file) Open(static_cast<File>(file), directory);
  if (!course) return;
  Open(kCourse, directory);
  Write(kCourse, kCourseHeader);
  Flush(kCourse);
}

RunLogs::~RunLogs() {
  Close();
}

void RunLogs::Open(File file, const std::string& directory) {
  LogFile& log = files_[file];
  log.name = file == kCourse ? kCourseName : kLogNames[file];
  const std::string path = directory.empty() ? log.name : directory + "/" + log.name;
  log.stream = std::fopen(path.c_str(), "wt");
  if (log.stream == nullptr) Report(file, "open", errno);
}

void RunLogs::Close() {
  // Summaries first, then weights: a fixed order, so that failure messages come in one order.
  for (File file : {kLog, kLearn2, kLeft2, kRight2, kLearn, kLeft, kRight, kCourse}) {
    LogFile& log = files_[file];
    if (log.stream == nullptr) continue;
    if (std::fclose(log.stream) != 0) Report(file, "write", errno);
    log.stream = nullptr;
  }
}

void RunLogs::Report(File file, const char* what, int error) {
  LogFile& log = files_[file];
  if (log.failed) return;
  log.failed = true;
  if (notice_.empty()) notice_ = std::string("cannot ") + what + " " + log.name;
  std::fprintf(stderr, "%s: cannot %s %s: %s\n", program_.c_str(), what, log.name.c_str(),
               std::strerror(error));
}

void RunLogs::StopForLackOfSpace() {
  const bool open = std::any_of(files_.begin(), files_.end(),
                                [](const LogFile& log) { return log.stream != nullptr; });
  if (!open) return;
  Close();
  notice_ = "logs stopped: disk nearly full";
  std::fprintf(stderr,
               "%s: the log folder's disk is nearly full (%llu MiB free); the logs end here and "
               "the run goes on without them\n",
               program_.c_str(), static_cast<unsigned long long>(space_.LastFree() >> 20));
}

void RunLogs::Write(File file, const std::string& line) {
  std::FILE* stream = files_[file].stream;
  if (stream == nullptr) return;
  if (std::fwrite(line.data(), 1, line.size(), stream) != line.size()) {
    Report(file, "write", errno);
  }
}

void RunLogs::Flush(File file) {
  std::FILE* stream = files_[file].stream;
  if (stream != nullptr && std::fflush(stream) != 0) Report(file, "write", errno);
}

void RunLogs::WriteVector(File file, const std::vector<double>& vector) {
  std::string line;
  for (double value : vector) {
    AppendNumber(line, value);
    line += ' ';
  }
  line += '\n';
  Write(file, line);
}

void RunLogs::WriteSummary(File file, std::int64_t step, const std::array<double, 4>& values,
                           const char* ending) {
  std::string line;
  runtime::AppendInteger(line, step, 6);
  for (double value : values) {
    line += ' ';
    AppendNumber(line, value);
  }
  line += ending;
  Write(file, line);
}

void RunLogs::LogStep(std::int64_t step, double y, bool leftTicked, bool rightTicked,
                      const BCMNeuron& logged) {
  if (!space_.Enough()) StopForLackOfSpace();
  const double theta = logged.Theta();
  if (leftTicked && rightTicked) {
    // The both-eyes summary shows the left eye negated and ends with a blank: existing log
    // readers parse it that way.
    WriteVector(kLearn, logged.Weights());
    WriteSummary(kLearn2, step, {-logged.yLeft, logged.yRight, y, theta}, " \n");
    Flush(kLearn);
    Flush(kLearn2);
  } else if (leftTicked || rightTicked) {
    const File weights = leftTicked ? kLeft : kRight;
    const File summary = leftTicked ? kLeft2 : kRight2;
    WriteVector(weights, logged.Weights());
    WriteSummary(summary, step, {logged.yLeft, logged.yRight, y, theta}, "\n");
    Flush(weights);
    Flush(summary);
  }
}

void RunLogs::LogProbe(double maxLeft, double maxRight) {
  std::string line;
  AppendNumber(line, maxLeft);
  line += ' ';
  AppendNumber(line, maxRight);
  line += '\n';
  Write(kLog, line);
  Flush(kLog);
}

void RunLogs::LogCourse(const CourseRow& row) {
  if (onCourseRow) onCourseRow(row);
  if (files_[kCourse].stream == nullptr) return;
  std::string line;
  runtime::AppendInteger(line, row.run, 0);
  line += ',';
  runtime::AppendInteger(line, row.step, 0);
  line += ',';
  line += std::to_string(row.trainedSteps);
  line += row.leftTicked ? ",1" : ",0";
  line += row.rightTicked ? ",1," : ",0,";
  AppendExact(line, row.maxLeft);
  line += ',';
  AppendExact(line, row.maxRight);
  line += ',';
  // Undefined when neither eye drives the neuron: left empty, as table readers expect.
  if (row.maxLeft + row.maxRight > 0) {
    AppendExact(line, (row.maxRight - row.maxLeft) / (row.maxRight + row.maxLeft));
  }
  for (double value :
       {row.theta, row.y, row.yLeft, row.yRight, row.meanLeftWeight, row.meanRightWeight}) {
    line += ',';
    AppendExact(line, value);
  }
  line += '\n';
  Write(kCourse, line);
  Flush(kCourse);
}
