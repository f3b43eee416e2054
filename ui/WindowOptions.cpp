#include "WindowOptions.h"

#include <charconv>
#include <filesystem>

#include "CommandLine.h"
#include "WholeFile.h"

namespace {
std::uint32_t ParseSeed(const std::string& text) {
  std::uint32_t seed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
  if (text.empty() || text.front() == '-' || error != std::errc() ||
      end != text.data() + text.size()) {
    throw UsageError("--seed takes a whole number from 0 to 4294967295, not " + Printable(text));
  }
  return seed;
}

void CheckWritableDirectory(const std::string& directory) {
  const std::string problem = runtime::FolderProblem(directory);
  if (!problem.empty()) throw UsageError("--dir: " + Printable(problem));
}
}  // namespace

WindowOptions ParseWindowOptions(const std::vector<std::string>& arguments) {
  WindowOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--help" || arguments[i] == "-h") {
      options.help = true;
    } else if (const auto seed = OptionValue(arguments, i, "seed")) {
      if (options.seed) throw UsageError("--seed is given twice");
      options.seed = ParseSeed(*seed);
    } else if (const auto directory = OptionValue(arguments, i, "dir")) {
      CheckWritableDirectory(*directory);
      options.directory = *directory;
    } else if (const auto parameter = TakeParameterArgument(arguments, i)) {
      SetParameter(options.parameters, *parameter->option, parameter->value);
    } else {
      throw UsageError("unknown argument: " + Printable(arguments[i]));
    }
  }
  return options;
}

std::string WindowUsage() {
  return "usage: orvel [--seed S] [--dir DIR] [PARAMETER...]\n"
         "\n"
         "Opens the BCM Orvel window: one model neuron learning by the BCM rule from two eyes.\n"
         "The seed in use is printed at start-up; orvel-batch --seed S replays the session.\n"
         "\n"
         "  --seed S            seeds the generator (0..4294967295; default: the clock's second)\n"
         "  --dir DIR           writes the seven log files in DIR (default: the working "
         "directory)\n"
         "  --help              this text\n"
         "\n"
         "Parameters (each also as --name=X):\n" +
         ParameterHelp();
}
