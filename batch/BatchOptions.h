#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Parameters.h"

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
  Parameters parameters;
  std::vector<Action> actions;
};

// Reads the command line, and every @FILE it names, checking all of it before anything is
// written: throws UsageError on the first fault.
BatchOptions ParseCommandLine(const std::vector<std::string>& arguments);

// Parses one action word such as run=500 or left=off.
Action ParseAction(const std::string& word);

// The --help text.
std::string Usage();
