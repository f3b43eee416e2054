#pragma once

// SIGINT and SIGTERM end a session cleanly instead of on the spot: both programs install this one
// handler, which only records the signal and wakes whoever watches the pipe. Signals belong to the
// whole process, so this is the one piece of process-wide state the programs keep.
namespace runtime {

// Installs the handler (again, harmlessly, when already installed).
void CatchTerminationSignals();
// Puts back the default action, so a second Ctrl-C after a clean exit began still works as usual.
void ReleaseTerminationSignals();

// 0 until SIGINT or SIGTERM arrives, then that signal's number.
int TerminationSignal();

// A descriptor that becomes readable when a signal has arrived; -1 if none could be made.
int TerminationPipe();
// Reads what the handler wrote, so the pipe can signal again.
void DrainTerminationPipe();

}  // namespace runtime
