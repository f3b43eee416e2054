#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "BatchHost.h"
#include "CourseRow.h"
#include "Interruption.h"
#include "Session.h"

// orvel.Session: one Session driven as orvel-batch drives it, through the same BatchHost, so that
// the same seed and actions give the same numbers and files. Python sees the course as arrays
// and gets Python's exceptions.
class PythonSession {
 public:
  // logs: a folder for the files orvel-batch writes; none keeps the course in memory only.
  PythonSession(std::uint32_t seed, const Parameters& parameters,
                const std::optional<std::string>& logs, runtime::GeneratorKind generator);
  PythonSession(const PythonSession&) = delete;
  PythonSession& operator=(const PythonSession&) = delete;

  // Releases the GIL while it steps; Ctrl-C ends it early with KeyboardInterrupt, a divergence
  // with orvel.Diverged.
  void Run(std::int64_t steps);
  bool Running() const { return running_; }

  bool Left() const { return session_.Left(); }
  bool Right() const { return session_.Right(); }
  void SetEyes(bool left, bool right);
  void Reset();
  pybind11::array_t<double> Check();

  std::uint32_t Seed() const { return session_.Seed(); }
  pybind11::array_t<double> Weights() const;
  double Theta() const;
  std::uint64_t TrainedSteps() const;
  pybind11::dict ParameterValues() const;
  pybind11::dict Course() const;

  void Save(const std::string& path) const;
  void Restore(const std::string& path, const pybind11::kwargs& overrides);
  // Writes every pending log line and closes the logs; later actions raise RuntimeError.
  void Close();

 private:
  // RuntimeError while a run goes on in another thread or once closed.
  void CheckIdle() const;

  Session session_;
  BatchHost host_;
  bool logging_;
  std::vector<CourseRow> course_;
  Interruption interruption_;
  std::atomic<bool> running_ = false;
  bool closed_ = false;
};
