#include "RunLogs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <span>

#include "Bcm.h"
#include "CourseCsv.h"
#include "LogLines.h"
#include "LogNames.h"
#include "LogWrite.h"

namespace {
// Half the 0.1 s a kill may lose; the other half is left for writing the batch.
constexpr std::chrono::milliseconds kHandoff(50);
// Logged steps a batch holds before the step thread waits for the writer: small enough that the
// two batches and their text stay within a megabyte, large enough that a handoff every few
// milliseconds costs nothing measurable.
constexpr std::size_t kBatchLines = 512;
// Weights before summaries, then the probe and the course: the order of one step's lines.
constexpr std::array<RunLogs::File, 8> kWriteOrder = {
    RunLogs::kLearn, RunLogs::kLeft,   RunLogs::kRight, RunLogs::kLearn2,
    RunLogs::kLeft2, RunLogs::kRight2, RunLogs::kLog,   RunLogs::kCourse};
}  // namespace

RunLogs::RunLogs(const std::string& directory, std::string program,
                 std::optional<FreeSpaceGuard> space, LogChoice logs, bool course, bool nameFolder)
    : program_(std::move(program)),
      folderNamed_(nameFolder ? directory + ": " : ""),
      space_(space ? std::move(*space) : FreeSpaceGuard(directory)),
      choice_(logs) {
  if (logs == LogChoice::kAll) {
    for (int file = kLog; file < kCourse; ++file) {
      Open(static_cast<File>(file), directory, nameFolder);
    }
  }
  if (course && logs != LogChoice::kNone) {
    Open(kCourse, directory, nameFolder);
    course_ = files_[kCourse].fd.IsOpen();
    text_[kCourse] = course_csv::Header();
    WriteText(kCourse);
  }
  writer_ = std::thread(&RunLogs::WriteBatches, this);
}

RunLogs::~RunLogs() {
  Close();
}

void RunLogs::Open(File file, const std::string& directory, bool nameFolder) {
  LogFile& log = files_[file];
  const std::string name = file == kCourse ? kCourseName : kLogNames[file];
  const std::string path = directory.empty() ? name : directory + "/" + name;
  log.name = nameFolder ? path : name;
  log.fd =
      runtime::FileDescriptor(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!log.fd.IsOpen()) Report(file, "open", errno);
}

void RunLogs::Close() {
  if (writer_.joinable()) {
    {
      const std::lock_guard lock(mutex_);
      closing_ = true;
    }
    wake_.notify_one();
    writer_.join();
  }
  CloseFiles();
}

void RunLogs::CloseFiles() {
  // Summaries first, then weights: a fixed order, so that failure messages come in one order.
  for (File file : {kLog, kLearn2, kLeft2, kRight2, kLearn, kLeft, kRight, kCourse}) {
    LogFile& log = files_[file];
    if (!log.fd.IsOpen()) continue;
    if (const int error = log.fd.Close(); error != 0) Report(file, "write", error);
  }
}

void RunLogs::Narrow(LogChoice logs) {
  if (logs <= choice_) return;
  const std::lock_guard lock(mutex_);
  choice_ = logs;
  if (logs == LogChoice::kNone) course_ = false;
}

// The writer's, after a batch: what the step thread no longer logs has all been written.
void RunLogs::CloseLeftOut(LogChoice kept) {
  auto close = [this](File file) {
    LogFile& log = files_[file];
    if (!log.fd.IsOpen()) return;
    if (const int error = log.fd.Close(); error != 0) Report(file, "write", error);
  };
  if (kept == LogChoice::kAll) return;
  for (File file : {kLog, kLearn2, kLeft2, kRight2, kLearn, kLeft, kRight}) close(file);
  if (kept == LogChoice::kNone) close(kCourse);
}

void RunLogs::Flush() {
  std::unique_lock lock(mutex_);
  if (!writer_.joinable() || closing_) return;
  const std::uint64_t target = handedOut_ + 1;
  flushWanted_ = true;
  wake_.notify_one();
  written_cv_.wait(lock, [this, target] { return written_ >= target; });
}

std::string RunLogs::Notice() const {
  const std::lock_guard lock(noticeMutex_);
  return notice_;
}

void RunLogs::SetNotice(std::string notice, bool replace) {
  const std::lock_guard lock(noticeMutex_);
  if (replace || notice_.empty()) notice_ = std::move(notice);
}

void RunLogs::Report(File file, const char* what, int error) {
  LogFile& log = files_[file];
  if (log.failed) return;
  log.failed = true;
  SetNotice(std::string("cannot ") + what + " " + log.name, false);
  std::fprintf(stderr, "%s: cannot %s %s: %s\n", program_.c_str(), what, log.name.c_str(),
               std::strerror(error));
}

void RunLogs::StopForLackOfSpace() {
  const bool open =
      std::any_of(files_.begin(), files_.end(), [](const LogFile& log) { return log.fd.IsOpen(); });
  if (!open) return;
  CloseFiles();
  SetNotice("logs stopped: disk nearly full", true);
  std::fprintf(stderr,
               "%s: %sthe log folder's disk is nearly full (%llu MiB free); the logs end here and "
               "the run goes on without them\n",
               program_.c_str(), folderNamed_.c_str(),
               static_cast<unsigned long long>(space_.LastFree() >> 20));
}

// The step thread adds to the pending batch and waits only when it is full and the writer has not
// taken it yet.
template <class Add>
void RunLogs::Append(Add add) {
  if (!writer_.joinable()) return;  // closed
  std::unique_lock lock(mutex_);
  add(pending_);
  if (pending_.Lines() < kBatchLines) return;
  wake_.notify_one();
  room_.wait(lock, [this] { return pending_.Lines() < kBatchLines; });
}

void RunLogs::LogStep(std::int64_t step, double y, bool leftTicked, bool rightTicked,
                      const BCMNeuron& logged) {
  if (choice_ != LogChoice::kAll || (!leftTicked && !rightTicked)) return;
  const bool both = leftTicked && rightTicked;
  const File weights = both ? kLearn : leftTicked ? kLeft : kRight;
  const File summary = both ? kLearn2 : leftTicked ? kLeft2 : kRight2;
  // The both-eyes summary shows the left eye negated and ends with a blank: existing log
  // readers parse it that way.
  const std::array<double, 4> values = {both ? -logged.yLeft : logged.yLeft, logged.yRight, y,
                                        logged.Theta()};
  const std::vector<double>& vector = logged.Weights();
  Append([&](LogBatch& batch) {
    batch.steps.push_back({static_cast<std::uint8_t>(weights), static_cast<std::uint8_t>(summary),
                           both, step, values, vector.size()});
    batch.weights.insert(batch.weights.end(), vector.begin(), vector.end());
  });
}

void RunLogs::LogProbe(double maxLeft, double maxRight) {
  if (choice_ != LogChoice::kAll) return;
  Append([&](LogBatch& batch) { batch.probes.push_back({maxLeft, maxRight}); });
}

void RunLogs::LogCourse(const CourseRow& row) {
  if (onCourseRow) onCourseRow(row);
  if (course_) Append([&](LogBatch& batch) { batch.course.push_back(row); });
}

// The writer takes the pending batch kHandoff after it took the last one, or at once when it is
// full or the logs close; the step thread fills the other batch meanwhile.
void RunLogs::WriteBatches() {
  std::unique_lock lock(mutex_);
  auto due = std::chrono::steady_clock::now() + kHandoff;
  for (;;) {
    wake_.wait_until(
        lock, due, [this] { return closing_ || flushWanted_ || pending_.Lines() >= kBatchLines; });
    due = std::chrono::steady_clock::now() + kHandoff;
    std::swap(pending_, writing_);
    flushWanted_ = false;
    const std::uint64_t number = ++handedOut_;
    const bool last = closing_;
    const LogChoice kept = choice_;
    lock.unlock();
    room_.notify_one();
    WriteBatch(writing_);
    writing_.Clear();
    CloseLeftOut(kept);
    lock.lock();
    written_ = number;
    written_cv_.notify_all();
    if (last) return;
  }
}

void RunLogs::WriteBatch(const LogBatch& batch) {
  if (batch.Empty()) return;
  if (!space_.Enough()) StopForLackOfSpace();
  auto open = [this](int file) { return files_[static_cast<std::size_t>(file)].fd.IsOpen(); };
  std::span<const double> weights(batch.weights);
  for (const LogBatch::Step& step : batch.steps) {
    if (open(step.weightsFile)) {
      log_lines::AppendWeights(text_[step.weightsFile], weights.first(step.weightCount));
    }
    if (open(step.summaryFile)) {
      log_lines::AppendSummary(text_[step.summaryFile], step.step, step.summary,
                               step.bothEyes ? " \n" : "\n");
    }
    weights = weights.subspan(step.weightCount);
  }
  if (open(kLog)) {
    for (const auto& [maxLeft, maxRight] : batch.probes) {
      log_lines::AppendProbe(text_[kLog], maxLeft, maxRight);
    }
  }
  if (open(kCourse)) {
    for (const CourseRow& row : batch.course) course_csv::AppendRow(text_[kCourse], row);
  }
  for (File file : kWriteOrder) WriteText(file);
}

void RunLogs::WriteText(File file) {
  LogFile& log = files_[file];
  std::string& text = text_[file];
  if (log.fd.IsOpen() && !text.empty()) {
    const std::uint64_t before = log.written;
    const int error = log_write::WriteWholeLines(log.fd.Get(), text, log.written);
    bytesWritten_.fetch_add(log.written - before, std::memory_order_relaxed);
    if (error != 0) {
      Report(file, "write", error);
      log.fd.Close();
    }
  }
  text.clear();
}
