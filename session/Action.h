#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What orvel-batch and a lesson ask of a session: the user actions of a window session, in order.
struct Action {
  enum class Kind { Run, Check, Reset, Left, Right, Save, Load, Set };
  Kind kind;
  std::int64_t steps = 0;  // Run: how many steps, at least 1
  bool on = false;         // Left, Right: ticked or not
  std::string file = {};   // Save, Load: the state file
  std::string word = {};   // as given, for the record
  std::string name = {};   // Check: check=NAME's, its name in the ensemble's summary;
                           // Set: the parameter option's ("closed-noise")
  std::string value = {};  // Set: the parameter's new value, as given
};

// Whether text can name a check: a letter, then letters, digits, - and _. Never a number, so that
// a name is never taken for another check's.
bool IsCheckName(std::string_view text);

// Parses one action word such as run=500, left=off or closed-noise=0; throws UsageError.
Action ParseAction(const std::string& word);

// Appends the actions of an action file, a word a line, # starting a comment, and skips a
// lesson's texts (see Lesson.h); throws UsageError naming the file, and the line as FILE:LINE,
// on the first fault.
void ReadActionFile(const std::string& path, std::vector<Action>& actions);
