#include "WindowOptions.h"

#include <filesystem>

#include "CommandLine.h"
#include "Lesson.h"
#include "Printable.h"
#include "WholeFile.h"

namespace {
std::int64_t ParseSpeed(const std::string& text) {
  const auto speed = WholeNumber<std::int64_t>(text);
  if (!speed || *speed < 1) {
    throw UsageError("--speed takes a whole number of steps a second, at least 1, not " +
                     runtime::Printable(text));
  }
  return *speed;
}

runtime::GeneratorKind ParseGenerator(const std::string& text) {
  const auto generator = runtime::GeneratorNamed(text);
  if (!generator)
    throw UsageError("--generator takes classic or pcg32, not " + runtime::Printable(text));
  return *generator;
}

// Made, with its missing parents, once the whole command line has been checked.
void CheckDirectory(const std::string& directory) {
  const std::string problem = runtime::FolderToMakeProblem(directory);
  if (!problem.empty()) throw UsageError("--dir: " + runtime::Printable(problem));
}
}  // namespace

WindowOptions ParseWindowOptions(const std::vector<std::string>& arguments) {
  WindowOptions options;
  OptionsSeen seen;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    seen.Note(arguments[i]);
    if (arguments[i] == "--help" || arguments[i] == "-h") {
      options.help = true;
    } else if (arguments[i] == "--version") {
      options.version = true;
    } else if (const auto seed = OptionValue(arguments, i, "seed")) {
      options.seed = ParseSeed(*seed);
    } else if (const auto directory = OptionValue(arguments, i, "dir")) {
      CheckDirectory(*directory);
      options.directory = *directory;
    } else if (arguments[i] == "--new-session") {
      options.newSession = true;
    } else if (const auto logs = OptionValue(arguments, i, "logs")) {
      options.logs = ParseLogChoice(*logs);
    } else if (const auto generator = OptionValue(arguments, i, "generator")) {
      options.generator = ParseGenerator(*generator);
    } else if (const auto speed = OptionValue(arguments, i, "speed")) {
      options.speed = ParseSpeed(*speed);
    } else if (const auto lesson = OptionValue(arguments, i, "lesson")) {
      options.lesson = ReadLessonFile(*lesson);
    } else if (const auto parameter = TakeParameterArgument(arguments, i)) {
      SetParameter(options.parameters, *parameter->option, parameter->value);
    } else {
      throw UsageError("unknown argument: " + runtime::Printable(arguments[i]));
    }
  }
  if (options.newSession && !options.directory.empty()) {
    throw UsageError("--new-session makes its own log folder; it cannot go with --dir");
  }
  return options;
}

std::string WindowUsage() {
  return "usage: orvel [--seed S] [--generator G] [--dir DIR | --new-session] [--logs L] "
         "[--speed N] [--lesson FILE] [PARAMETER...]\n"
         "\n"
         "Opens the BCM Orvel window: one model neuron learning by the BCM rule from two eyes.\n"
         "The seed in use is printed at start-up; Help > About gives the orvel-batch command\n"
         "that replays the session.\n"
         "\n"
         "  --seed S            seeds the generator (" +
         std::string(kSeedRange) +
         "; default: the clock's second)\n"
         "  --generator G       classic (default) or pcg32, whose probe and Check It Out draw\n"
         "                      from a stream of their own\n"
         "  --dir DIR           writes the seven log files in DIR (default: the working "
         "directory)\n"
         "  --new-session       writes them in a new folder under $XDG_DATA_HOME/orvel/sessions\n"
         "  --logs L            all (default): the seven logs and course.csv; course: course.csv\n"
         "                      only; none: neither (File > Logging writes less later on)\n"
         "  --speed N           trains N steps a second (default: as fast as the machine goes)\n"
         "  --lesson FILE       plays the lesson in FILE beside the window, at 10,000 steps a\n"
         "                      second unless --speed says otherwise; Experiment > Lessons\n"
         "                      has the lessons that ship\n"
         "  --help              this text\n"
         "  --version           the program's version\n"
         "\n"
         "Parameters (each also as --name=X):\n" +
         ParameterHelp();
}
