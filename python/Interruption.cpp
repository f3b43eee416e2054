#include "Interruption.h"

namespace py = pybind11;

void Interruption::Start() {
  next_ = std::chrono::steady_clock::now() + kPollEvery;
}

bool Interruption::Poll() {
  if (raised_) return true;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_) return false;
  next_ = now + kPollEvery;
  const py::gil_scoped_acquire gil;
  if (PyErr_CheckSignals() == 0) return false;
  raised_.emplace();  // takes the handler's exception from the thread's error indicator
  return true;
}

void Interruption::RaisePending() {
  if (!raised_) return;
  py::error_already_set raised = std::move(*raised_);
  raised_.reset();
  throw raised;
}
