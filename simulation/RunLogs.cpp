#include "RunLogs.h"

#include <cerrno>
#include <cstring>

#include "Bcm.h"
#include "LogNames.h"
#include "NumberText.h"

namespace {

void AppendNumber(std::string& line, double value) {
  runtime::AppendFixed(line, value, 8, 5);
}
}  // namespace

RunLogs::RunLogs(const std::string& directory) {
  for (int file = kLog; file < kFileCount; ++file) Open(static_cast<File>(file), directory);
}

RunLogs::~RunLogs() {
  Close();
}

void RunLogs::Open(File file, const std::string& directory) {
  LogFile& log = files_[file];
  log.name = kLogNames[file];
  const std::string path = directory.empty() ? log.name : directory + "/" + log.name;
  log.stream = std::fopen(path.c_str(), "wt");
  if (log.stream == nullptr) Report(file, "open", errno);
}

void RunLogs::Close() {
  // Summaries first, then weights: a fixed order, so that failure messages come in one order.
  for (File file : {kLog, kLearn2, kLeft2, kRight2, kLearn, kLeft, kRight}) {
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
  std::fprintf(stderr, "orvel: cannot %s %s: %s\n", what, log.name.c_str(), std::strerror(error));
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
