#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// What orvel-batch is asked to do: the user actions of a window session, replayed in order.
struct Action {
  enum class Kind { Run, Check, Reset, Left, Right };
  Kind kind;
  std::int64_t steps = 0;  // Run: how many steps, at least 1
  bool on = false;         // Left, Right: ticked or not
};

struct BatchOptions {
  bool help = false;
  std::uint32_t seed = 0;
  std::string directory = ".";
  std::string plot;  // empty: no plot file
  bool quiet = false;
  std::vector<Action> actions;
};

// Bad input, with a message that names the offending argument.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the command line, and every @FILE it names, checking all of it before anything is
// written: throws UsageError on the first fault.
BatchOptions ParseCommandLine(const std::vector<std::string>& arguments);

// Parses one action word such as run=500 or left=off.
Action ParseAction(const std::string& word);

extern const char* const kUsage;
