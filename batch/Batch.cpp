#include "Batch.h"

#include <unistd.h>

#include <cstdio>

#include "BatchSession.h"
#include "Interrupts.h"

int RunBatch(const BatchOptions& options) {
  std::FILE* terminal = !options.quiet && ::isatty(STDERR_FILENO) ? stderr : nullptr;
  runtime::CatchTerminationSignals();
  BatchSession session(options, terminal, stdout);
  return session.Play();
}
