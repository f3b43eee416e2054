#include "CommandLine.h"

#include <cstdio>

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
    throw UsageError(option + " needs a value, not the option " + Printable(arguments[i + 1]));
  }
  return arguments[++i];
}

void OptionsSeen::Note(const std::string& argument) {
  if (argument.rfind("--", 0) != 0) return;
  const std::string name = argument.substr(0, argument.find('='));
  if (!names_.insert(name).second) throw UsageError(Printable(name) + " is given twice");
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
                     Printable(text));
  }
  return *seed;
}

void SetParameter(Parameters& parameters, const ParameterOption& option, std::string_view value) {
  if (!option.set(parameters, value)) {
    throw UsageError("--" + std::string(option.name) + " must be " + std::string(option.valid) +
                     ", not " + Printable(value));
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
    text += line + std::string(option.meaning) + "\n" + std::string(22, ' ') +
            std::string(option.valid) + "; default " + fallback + "\n";
  }
  return text;
}

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80         ? 1
                               : lead >> 5 == 0x6  ? 2
                               : lead >> 4 == 0xE  ? 3
                               : lead >> 3 == 0x1E ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size() || (length == 2 && lead < 0xC2) ||
        (length == 4 && lead > 0xF4)) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    const auto second = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string Printable(std::string_view text) {
  std::string shown;
  const bool utf8 = IsUtf8(text);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8)) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown;
}
