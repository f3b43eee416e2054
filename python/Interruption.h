#pragma once

#include <chrono>
#include <optional>

#include <pybind11/pybind11.h>

// Lets Python's own SIGINT handler interrupt a run that has released the GIL. Python only notes
// a signal in its C handler; its Python-level handler (KeyboardInterrupt) runs when the main
// thread next asks. So, at most every kPollEvery, the run takes the GIL back for a moment and
// asks: rarely enough that a busy Python thread elsewhere, which may keep the run waiting for the
// GIL, costs the run nothing measurable.
class Interruption {
 public:
  static constexpr std::chrono::milliseconds kPollEvery{50};

  // A run begins: the first poll is kPollEvery from now.
  void Start();
  // Called by the run without the GIL. True once a handler has raised: the run must end.
  bool Poll();
  // With the GIL, after the run: raises what the handler raised, if it did.
  void RaisePending();

 private:
  std::chrono::steady_clock::time_point next_;
  std::optional<pybind11::error_already_set> raised_;
};
