#pragma once

#include "BatchOptions.h"

// Plays a session as the window would: start-up with the seed, the actions in order, shut-down.
// Returns the exit status: 0; 1 when a log line or the plot could not be written; 128 plus the
// signal's number after SIGINT or SIGTERM.
int RunBatch(const BatchOptions& options);
