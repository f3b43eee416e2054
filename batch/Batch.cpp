#include "Batch.h"

#include <unistd.h>

#include <cstdio>

#include "BatchSession.h"
#include "Ensemble.h"
#include "Interrupts.h"
#include "WholeFile.h"

int RunBatch(const BatchOptions& options) {
  std::FILE* terminal = !options.quiet && ::isatty(STDERR_FILENO) ? stderr : nullptr;
  if (options.summarizeOnly) return SummarizeEnsemble(options);
  std::string error;
  if (!runtime::MakeFolder(options.directory, error)) {
    ReportError("cannot make --dir " + error);
    return 1;
  }
  runtime::CatchTerminationSignals();
  if (options.ensemble) return RunEnsemble(options, terminal);
  BatchSession session(options, terminal, stdout);
  const int status = session.Play();
  if (runtime::TerminationSignal() != 0) {
    std::fputs("orvel-batch: interrupted; the logs end at the last logged step\n", stderr);
  }
  return status;
}
