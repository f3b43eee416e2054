#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FreeSpaceGuard.h"

class BCMNeuron;

// The seven log files of a program session: every 100th step of every run writes the weights and
// a summary line to the pair its eye check boxes choose, and the probe maxima to "log.txt". Beside
// them, unless told otherwise, the course record "course.csv": one row of every logged step with a
// header, for tools that read tables.
//
// A file that cannot be created is reported once on standard error and left out; a failed write
// is reported once per file; the run goes on regardless. Each logged step is flushed, so a killed
// process loses no logged step. When the folder's disk runs short, every file is closed whole
// before the next logged step and the run goes on without logs.
class RunLogs {
 public:
  // Creates the seven files afresh in directory ("" means the working directory). Messages start
  // with program; space watches the folder's free space (the system's, once a second, by default).
  explicit RunLogs(const std::string& directory = "", std::string program = "orvel",
                   std::optional<FreeSpaceGuard> space = std::nullopt, bool course = true);
  ~RunLogs();
  RunLogs(const RunLogs&) = delete;
  RunLogs& operator=(const RunLogs&) = delete;

  // The files, in the order they are created.
  enum File { kLog, kLearn, kLeft, kRight, kLearn2, kLeft2, kRight2, kCourse, kFileCount };

  // A run begins; returns its number, 1 for the session's first. A nested run gets the next.
  int StartRun() { return ++runs_; }

  // The weight line of vector to file: each element as "%8.5f ", then a newline.
  void WriteVector(File file, const std::vector<double>& vector);

  // The weight line and the summary line of a logged step, from the neuron's state after the
  // step's learning; nothing when neither eye is ticked.
  void LogStep(std::int64_t step, double y, bool leftTicked, bool rightTicked,
               const BCMNeuron& logged);

  // The probe line of "log.txt".
  void LogProbe(double maxLeft, double maxRight);

  // One row of the course record.
  struct CourseRow {
    int run;
    std::int64_t step;           // within the run
    std::uint64_t trainedSteps;  // of the whole session, this step included
    bool leftTicked, rightTicked;
    double maxLeft, maxRight;        // the probe's, as in log.txt
    double theta, y, yLeft, yRight;  // the step's; yLeft as it is, never negated
    double meanLeftWeight, meanRightWeight;
  };
  void LogCourse(const CourseRow& row);
  // Told of every course row as it is logged, file or no file: for a live or a final figure.
  std::function<void(const CourseRow&)> onCourseRow;

  // Closes every file that opened, once; later calls and the destructor do nothing more.
  void Close();

  // Whether some line could not be written: a file not created, a failed write, or the logs
  // stopped for lack of space.
  bool Failed() const { return !notice_.empty(); }
  // A few words on the first failure, for a status bar; "" while none.
  const std::string& Notice() const { return notice_; }

 private:
  struct LogFile {
    std::string name;
    std::FILE* stream = nullptr;
    bool failed = false;  // a failure has been reported; one message per file is enough
  };

  void Open(File file, const std::string& directory);
  void Write(File file, const std::string& line);
  void Flush(File file);
  void Report(File file, const char* what, int error);
  void StopForLackOfSpace();
  void WriteSummary(File file, std::int64_t step, const std::array<double, 4>& values,
                    const char* ending);

  std::array<LogFile, kFileCount> files_;
  std::string program_;
  FreeSpaceGuard space_;
  std::string notice_;
  int runs_ = 0;
};
