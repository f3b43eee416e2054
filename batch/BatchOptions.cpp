#include "BatchOptions.h"

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>

const char* const kUsage =
    "usage: orvel-batch --seed S [--dir DIR] [--plot FILE.png] [--quiet] ACTION...\n"
    "\n"
    "Runs the BCM Orvel simulation without a window, replaying the actions of a window session.\n"
    "The same seed and actions give byte-identical logs and plot on every run.\n"
    "\n"
    "  --seed S         seeds the generator as a window started at clock second S would\n"
    "                   (0..4294967295); required\n"
    "  --dir DIR        writes the seven log files in DIR (default: the working directory)\n"
    "  --plot FILE.png  writes the weight plot as the window last drew it\n"
    "  --quiet          no progress bar\n"
    "  --help           this text\n"
    "\n"
    "Actions, performed in order (both eye boxes start ticked):\n"
    "  run=N            a training run of exactly N steps (N >= 1)\n"
    "  check            Check It Out: the 12 listing lines to standard output\n"
    "  reset            Reset Weights\n"
    "  left=on|off      tick or untick the left eye\n"
    "  right=on|off     tick or untick the right eye\n"
    "  @FILE            the actions in FILE, one per line; blank lines and # comments skipped\n";

namespace {
template <class Number>
bool ParseNumber(const std::string& text, Number& value) {
  if (text.empty() || text.front() == '+' || text.front() == '-') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseSwitch(const std::string& text, bool& on) {
  if (text != "on" && text != "off") return false;
  on = text == "on";
  return true;
}

std::string Trimmed(const std::string& line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

void ReadActionFile(const std::string& path, std::vector<Action>& actions) {
  std::ifstream file(path);
  if (!file) throw UsageError("cannot read action file " + path);
  std::string line;
  while (std::getline(file, line)) {
    const std::string word = Trimmed(line);
    if (word.empty() || word.front() == '#') continue;
    if (word.front() == '@') throw UsageError("action file " + path + " names another: " + word);
    actions.push_back(ParseAction(word));
  }
}

void CheckWritableDirectory(const std::string& directory, const std::string& what) {
  std::error_code error;
  if (!std::filesystem::is_directory(directory, error) ||
      ::access(directory.c_str(), W_OK | X_OK) != 0) {
    throw UsageError(what + " is not a writable directory: " + directory);
  }
}

const std::string& ValueOf(const std::vector<std::string>& arguments, std::size_t& i) {
  if (i + 1 >= arguments.size()) throw UsageError(arguments[i] + " needs a value");
  return arguments[++i];
}
}  // namespace

Action ParseAction(const std::string& word) {
  const std::string name = word.substr(0, word.find('='));
  const std::string value = word.find('=') == std::string::npos ? "" : word.substr(name.size() + 1);
  Action action{Action::Kind::Run};
  if (name == "run" && ParseNumber(value, action.steps) && action.steps >= 1) return action;
  if (word == "check") return {Action::Kind::Check};
  if (word == "reset") return {Action::Kind::Reset};
  if (name == "left" && ParseSwitch(value, action.on)) return {Action::Kind::Left, 0, action.on};
  if (name == "right" && ParseSwitch(value, action.on)) return {Action::Kind::Right, 0, action.on};
  if (name == "run") throw UsageError("run needs a whole number of steps >= 1: " + word);
  throw UsageError("unknown action: " + word);
}

BatchOptions ParseCommandLine(const std::vector<std::string>& arguments) {
  BatchOptions options;
  bool seeded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return options;
    } else if (argument == "--seed") {
      const std::string& seed = ValueOf(arguments, i);
      if (!ParseNumber(seed, options.seed)) {
        throw UsageError("--seed takes a whole number from 0 to 4294967295, not " + seed);
      }
      seeded = true;
    } else if (argument == "--dir") {
      options.directory = ValueOf(arguments, i);
    } else if (argument == "--plot") {
      options.plot = ValueOf(arguments, i);
    } else if (argument == "--quiet") {
      options.quiet = true;
    } else if (argument.rfind("--", 0) == 0) {
      throw UsageError("unknown option: " + argument);
    } else if (!argument.empty() && argument.front() == '@') {
      ReadActionFile(argument.substr(1), options.actions);
    } else {
      options.actions.push_back(ParseAction(argument));
    }
  }
  if (!seeded) throw UsageError("--seed is required");
  CheckWritableDirectory(options.directory, "--dir");
  if (!options.plot.empty()) {
    const std::filesystem::path parent = std::filesystem::path(options.plot).parent_path();
    CheckWritableDirectory(parent.empty() ? "." : parent.string(), "the --plot file's folder");
  }
  return options;
}
