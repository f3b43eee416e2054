#pragma once

#include <cstdio>

#include "BatchOptions.h"

// Plays this shard's units of the ensemble, --jobs at a time, skipping complete ones (unless
// --force), then rebuilds the summary and the figure from every complete unit. Returns 0; 1 when
// a file could not be written; 2 when a unit's state could not be loaded; 128 plus the signal's
// number after SIGINT or SIGTERM (every running unit's logs end whole, and a rerun finishes).
// terminal: where the ensemble's progress bar goes, or null.
int RunEnsemble(const BatchOptions& options, std::FILE* terminal);

// --summarize: the summary and the figure from the units complete so far.
int SummarizeEnsemble(const BatchOptions& options);
