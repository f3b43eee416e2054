#pragma once

#include "BatchOptions.h"

// Plays a session as the window would: start-up with the seed, the actions in order, shut-down.
// Returns the exit status: 0, or 1 if the plot could not be written.
int RunBatch(const BatchOptions& options);
