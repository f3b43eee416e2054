#pragma once

#include <cstdio>
#include <functional>

#include "BatchOptions.h"
#include "EnsembleUnitRun.h"

// Plays one unit as PlayUnit does; another player is for tests that make a unit fail.
using UnitPlayer = std::function<int(const BatchOptions& ensemble, const BatchOptions& single,
                                     std::size_t index, UnitsShared& shared)>;

// Plays this shard's units of the ensemble, --jobs at a time, skipping complete ones (unless
// --force), then rebuilds the summary and the figure from every complete unit. Returns 0; 1 when
// a file could not be written or a unit ended in an exception; 2 when a unit's state could not be
// loaded; 128 plus the signal's number after SIGINT or SIGTERM (every running unit's logs end
// whole, and a rerun finishes). An exception ends only its own unit: the unit is named on standard
// error, left without its completion marker, and the other units go on.
// terminal: where the ensemble's progress bar goes, or null. interrupted: asked now and then by
// the calling thread, a driver's own Ctrl-C; true ends the ensemble as SIGINT would.
int RunEnsemble(const BatchOptions& options, std::FILE* terminal, const UnitPlayer& play = PlayUnit,
                const std::function<bool()>& interrupted = {});

// --summarize: the summary and the figure from the units complete so far.
int SummarizeEnsemble(const BatchOptions& options);
