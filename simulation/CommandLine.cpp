#include "CommandLine.h"

#include "Printable.h"

std::optional<std::string> OptionValue(const std::vector<std::string>& arguments, std::size_t& i,
                                       std::string_view name) {
  const std::string& argument = arguments[i];
  const std::string option = "--" + std::string(name);
  if (argument.rfind(option + "=", 0) == 0) return argument.substr(option.size() + 1);
  if (argument != option) return std::nullopt;
  if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
  // An option where the value belongs means the value was left out; taking the option as the
  // value would only give a puzzling message about something else. --name=--x still works.
  if (arguments[i + 1].rfind("--", 0) == 0) {
    throw UsageError(option + " needs a value, not the option " +
                     runtime::Printable(arguments[i + 1]));
  }
  return arguments[++i];
}

void OptionsSeen::Note(const std::string& argument) {
  if (argument.rfind("--", 0) != 0) return;
  const std::string name = argument.substr(0, argument.find('='));
  if (!names_.insert(name).second) throw UsageError(runtime::Printable(name) + " is given twice");
}

std::optional<ParameterArgument> TakeParameterArgument(const std::vector<std::string>& arguments,
                                                       std::size_t& i) {
  for (const ParameterOption& option : ParameterOptions()) {
    if (auto value = OptionValue(arguments, i, option.name))
      return ParameterArgument{&option, *value};
  }
  return std::nullopt;
}

std::uint32_t ParseSeed(const std::string& text) {
  const auto seed = SeedNumber(text);
  if (!seed) {
    throw UsageError(std::string("--seed takes a whole number from ") + kSeedRange + ", not " +
                     runtime::Printable(text));
  }
  return *seed;
}

void SetParameter(Parameters& parameters, const ParameterOption& option, std::string_view value) {
  if (!option.set(parameters, value)) {
    throw UsageError("--" + std::string(option.name) + " must be " + std::string(option.valid) +
                     ", not " + runtime::Printable(value));
  }
}

std::string ParameterHelp() {
  const Parameters defaults;
  std::string text;
  for (const ParameterOption& option : ParameterOptions()) {
    std::string line = "  --" + std::string(option.name) + " X";
    line.resize(std::max<std::size_t>(line.size() + 1, 22), ' ');
    const std::string fallback =
        option.IsSet(defaults) ? option.get(defaults) : std::string(option.follows);
    // In parentheses, so the line still reads as one sentence where the two are joined (man).
    text += line + std::string(option.meaning) + "\n" + std::string(22, ' ') + "(" +
            std::string(option.valid) + "; default " + fallback + ")\n";
  }
  return text;
}
