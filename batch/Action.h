#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What orvel-batch is asked to do: the user actions of a window session, replayed in order.
struct Action {
  enum class Kind { Run, Check, Reset, Left, Right, Save, Load };
  Kind kind;
  std::int64_t steps = 0;  // Run: how many steps, at least 1
  bool on = false;         // Left, Right: ticked or not
  std::string file = {};   // Save, Load: the state file
  std::string word = {};   // as given, for the record
  std::string name = {};   // Check: check=NAME's, its name in the ensemble's summary
};

// Parses one action word such as run=500 or left=off; throws UsageError.
Action ParseAction(const std::string& word);

// Appends the actions of an action file, a word a line, # starting a comment; throws UsageError
// naming the file, and the line as FILE:LINE, on the first fault.
void ReadActionFile(const std::string& path, std::vector<Action>& actions);
