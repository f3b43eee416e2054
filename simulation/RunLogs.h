#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "CourseRow.h"
#include "FileDescriptor.h"
#include "FreeSpaceGuard.h"
#include "LogBatch.h"
#include "LogChoice.h"

class BCMNeuron;

// The seven log files of a program session: every 100th step of every run writes the weights and
// a summary line to the pair its eye check boxes choose, and the probe maxima to "log.txt". Beside
// them, unless told otherwise, the course record course.csv: one row of every logged step with a
// header, for tools that read tables. A LogChoice may leave the seven out, or all eight.
//
// The step thread only copies each logged step's numbers; a writer thread of the object's own
// turns them into text and writes them, a batch at a time, at least every 50 ms, in whole lines.
// Close() writes everything still pending, so closing or a signal loses nothing; a killed process
// loses at most the last 0.1 s of logged steps, and every file still ends in a whole line.
//
// A file that cannot be created is reported once on standard error and left out; a failed write
// is reported once, and the file ends at its last whole line: a log with a hole in it would
// mislead. The run goes on regardless. When the folder's disk runs short, every
// file is closed whole before the next batch and the run goes on without logs.
class RunLogs {
 public:
  // Creates the files logs chooses afresh in directory ("" means the working directory); course
  // false leaves course.csv out whatever logs says. Messages start with program, and name each
  // file with its folder when nameFolder; space watches the folder's free space (the system's,
  // once a second, by default).
  explicit RunLogs(const std::string& directory = "", std::string program = "orvel",
                   std::optional<FreeSpaceGuard> space = std::nullopt,
                   LogChoice logs = LogChoice::kAll, bool course = true, bool nameFolder = false);
  ~RunLogs();
  RunLogs(const RunLogs&) = delete;
  RunLogs& operator=(const RunLogs&) = delete;

  // The files, in the order they are created.
  enum File { kLog, kLearn, kLeft, kRight, kLearn2, kLeft2, kRight2, kCourse, kFileCount };

  // A run begins; returns its number, 1 for the session's first. A nested run gets the next.
  int StartRun() { return ++runs_; }

  // The weight line and the summary line of a logged step, from the neuron's state after the
  // step's learning; nothing when neither eye is ticked.
  void LogStep(std::int64_t step, double y, bool leftTicked, bool rightTicked,
               const BCMNeuron& logged);

  // The probe line of "log.txt".
  void LogProbe(double maxLeft, double maxRight);

  // One row of the course record.
  using CourseRow = ::CourseRow;
  void LogCourse(const CourseRow& row);
  // Told of every course row as it is logged, file or no file, on the step's thread: for a live
  // or a final figure.
  std::function<void(const CourseRow&)> onCourseRow;

  // Writes what is pending, ends the writer and closes every file that opened, once; later calls
  // and the destructor do nothing more. Called on the thread that logs.
  void Close();
  // Returns once every line logged so far is in its file: for copying a log while a run goes on.
  void Flush();

  // From now on writes only what logs chooses, when that is less than before: the files it leaves
  // out end whole at the last logged step. A closed file never reopens, since a log with a hole in
  // it would mislead. Called on the thread that logs.
  void Narrow(LogChoice logs);
  LogChoice Choice() const { return choice_; }
  // Bytes written to the files so far. Safe from any thread.
  std::uint64_t BytesWritten() const { return bytesWritten_.load(std::memory_order_relaxed); }

  // Whether some line could not be written: a file not created, a failed write, or the logs
  // stopped for lack of space. Safe from any thread.
  bool Failed() const { return !Notice().empty(); }
  // A few words on the first failure, for a status bar; "" while none. Safe from any thread.
  std::string Notice() const;

 private:
  struct LogFile {
    std::string name;
    runtime::FileDescriptor fd;  // closes itself should the constructor throw
    std::uint64_t written = 0;   // the file's length, for writes that end on line ends
    bool failed = false;         // a failure has been reported; one message per file is enough
  };

  void Open(File file, const std::string& directory, bool nameFolder);
  void CloseFiles();
  void CloseLeftOut(LogChoice kept);
  void Report(File file, const char* what, int error);
  void SetNotice(std::string notice, bool replace);
  void StopForLackOfSpace();

  // Step thread: the pending batch, under mutex_.
  template <class Add>
  void Append(Add add);
  // Writer thread.
  void WriteBatches();
  void WriteBatch(const LogBatch& batch);
  void WriteText(File file);

  std::array<LogFile, kFileCount> files_;  // the writer's while it runs
  std::string program_;
  std::string folderNamed_;  // "FOLDER: " when messages name it, else ""
  FreeSpaceGuard space_;     // asked by the writer
  int runs_ = 0;
  LogChoice choice_;     // the step thread's; the writer reads it under mutex_
  bool course_ = false;  // course.csv opened
  std::atomic<std::uint64_t> bytesWritten_ = 0;

  std::mutex mutex_;
  std::condition_variable wake_;  // the writer: the batch is full or the logs close
  std::condition_variable room_;  // the step thread: the full batch was taken
  LogBatch pending_;
  bool closing_ = false;
  bool flushWanted_ = false;
  std::uint64_t handedOut_ = 0;  // batches taken by the writer
  std::uint64_t written_ = 0;    // of those, the last one written
  std::condition_variable written_cv_;

  LogBatch writing_;                          // the writer's
  std::array<std::string, kFileCount> text_;  // the writer's, reused batch after batch

  mutable std::mutex noticeMutex_;
  std::string notice_;

  std::thread writer_;  // last: starts when everything above exists
};
