// BCM Orvel: one window in which a model neuron learns by the BCM rule from two eyes.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Application.h"
#include "CommandLine.h"
#include "Version.h"
#include "WholeFile.h"
#include "WindowOptions.h"
#include "orvel.h"

namespace {
int Main(const std::vector<std::string>& arguments) {
  WindowOptions options;
  try {
    options = ParseWindowOptions(arguments);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "orvel: %s (see orvel --help)\n", error.what());
    return 2;
  }
  if (options.help) {
    std::fputs(WindowUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("orvel %s\n", runtime::kVersion);
    return 0;
  }
  std::string problem;
  if (!options.directory.empty() && !runtime::MakeFolder(options.directory, problem)) {
    std::fprintf(stderr, "orvel: cannot make --dir %s\n", problem.c_str());
    return 1;
  }
  TApplication application;
  try {
    Application->Initialize();
    Application->CreateForm(Form1, options);
    // SIGINT and SIGTERM close the window as its close button does: runs stop, logs end whole.
    Application->HandleTerminationSignals([] { Form1->Close(); });
    Application->Run();
  } catch (const Exception& error) {
    Application->ShowException(error);
  }
  return 0;
}
}  // namespace

// What escapes (memory running out) ends the program with one line, not an abort.
int main(int argc, char** argv) {
  try {
    return Main(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "orvel: %s\n", error.what());
    return 1;
  }
}
