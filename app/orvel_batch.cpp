// orvel-batch: the BCM Orvel simulation without a window, replaying a scripted session.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Batch.h"
#include "BatchOptions.h"
#include "Version.h"

namespace {
int Main(const std::vector<std::string>& arguments) {
  BatchOptions options;
  try {
    options = ParseCommandLine(arguments);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "orvel-batch: %s (see orvel-batch --help)\n", error.what());
    return 2;
  }
  if (options.help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("orvel-batch %s\n", runtime::kVersion);
    return 0;
  }
  return RunBatch(options);
}
}  // namespace

// What escapes (memory or threads running out) ends the program with one line, not an abort;
// the logs have closed whole on the way out.
int main(int argc, char** argv) {
  try {
    return Main(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "orvel-batch: %s\n", error.what());
    return 1;
  }
}
