#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Parameters.h"

// What both programs' command lines share: options written "--name value" or "--name=value",
// the simulation's parameters, and errors that name the offending argument.

// text as a Number when it is nothing but decimal digits and fits; else nullopt. No sign, no
// spaces: a command line's "+5" or " 5" is a typo, not a number.
template <class Number>
std::optional<Number> WholeNumber(const std::string& text) {
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  Number number{};
  const char* const last = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), last, number);
  if (error != std::errc() || stop != last) return std::nullopt;
  return number;
}

// A seed is any 32-bit number, the generator's whole state: this range, as every text states it.
inline constexpr const char* kSeedRange = "0..4294967295";

// text as a seed; nullopt unless a whole number within kSeedRange.
inline std::optional<std::uint32_t> SeedNumber(const std::string& text) {
  return WholeNumber<std::uint32_t>(text);
}

// Bad input, with a one-line message that names the offending argument.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// When arguments[i] is the option --name, its value (and i moves past it); else nullopt. Throws
// UsageError when the value is missing.
std::optional<std::string> OptionValue(const std::vector<std::string>& arguments, std::size_t& i,
                                       std::string_view name);

// The options of one command line so far: a second --name would silently replace the first
// one's value (and a second list, the first list), so it is refused.
class OptionsSeen {
 public:
  // Throws UsageError when argument is an option already noted; arguments that are not options
  // ("run=100", values) pass.
  void Note(const std::string& argument);

 private:
  std::set<std::string, std::less<>> names_;
};

// When arguments[i] is a parameter option, the option and its value text, i past the value.
struct ParameterArgument {
  const ParameterOption* option;
  std::string value;
};
std::optional<ParameterArgument> TakeParameterArgument(const std::vector<std::string>& arguments,
                                                       std::size_t& i);

// --seed's value; throws UsageError naming the option and kSeedRange.
std::uint32_t ParseSeed(const std::string& text);

// Sets one parameter from its text; throws UsageError naming the option and its valid range.
void SetParameter(Parameters& parameters, const ParameterOption& option, std::string_view value);

// The help text's lines for the parameter options.
std::string ParameterHelp();
