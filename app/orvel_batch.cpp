// orvel-batch: the BCM Orvel simulation without a window, replaying a scripted session.
#include <cstdio>
#include <string>
#include <vector>

#include "Batch.h"
#include "BatchOptions.h"

int main(int argc, char** argv) {
  BatchOptions options;
  try {
    options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "orvel-batch: %s (see orvel-batch --help)\n", error.what());
    return 2;
  }
  if (options.help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  return RunBatch(options);
}
