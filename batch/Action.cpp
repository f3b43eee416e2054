#include "Action.h"

#include <sstream>

#include "CheckTable.h"
#include "CommandLine.h"
#include "Printable.h"
#include "RegularFile.h"

namespace {
bool ParseSwitch(const std::string& text, bool& on) {
  if (text != "on" && text != "off") return false;
  on = text == "on";
  return true;
}

// The line without its # comment and surrounding blanks.
std::string ActionWord(const std::string& line) {
  const std::string text = line.substr(0, line.find('#'));
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// An action file lists actions a line each; a megabyte holds tens of thousands of them.
constexpr std::size_t kMaxActionFileBytes = 1 << 20;
}  // namespace

void ReadActionFile(const std::string& path, std::vector<Action>& actions) {
  std::string problem;
  const std::optional<std::string> text =
      runtime::ReadRegularFile(path, kMaxActionFileBytes, "an action file", problem);
  if (!text) throw UsageError("action file " + runtime::Printable(path) + ": " + problem);
  std::istringstream file(*text);
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    const std::string where = runtime::Printable(path) + ":" + std::to_string(number) + ": ";
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!runtime::IsUtf8(line))
      throw UsageError(where + "not UTF-8 text: " + runtime::Printable(line));
    const std::string word = ActionWord(line);
    if (word.empty()) continue;
    if (word.front() == '@') throw UsageError(where + "an action file cannot name another");
    try {
      actions.push_back(ParseAction(word));
    } catch (const UsageError& fault) {
      throw UsageError(where + fault.what());
    }
  }
}

Action ParseAction(const std::string& word) {
  const std::string name = word.substr(0, word.find('='));
  const std::string value = word.find('=') == std::string::npos ? "" : word.substr(name.size() + 1);
  Action action{Action::Kind::Run, 0, false, "", word};
  if (name == "run") {
    const std::optional<std::int64_t> steps = WholeNumber<std::int64_t>(value);
    if (!steps || *steps < 1) {
      throw UsageError("run needs a whole number of steps >= 1: " + runtime::Printable(word));
    }
    action.steps = *steps;
    return action;
  }
  if ((name == "save" || name == "load") && word.size() > name.size() + 1) {
    action.kind = name == "save" ? Action::Kind::Save : Action::Kind::Load;
    action.file = value;
    return action;
  }
  if (name == "left" || name == "right") {
    if (!ParseSwitch(value, action.on))
      throw UsageError(name + " takes on or off: " + runtime::Printable(word));
    action.kind = name == "left" ? Action::Kind::Left : Action::Kind::Right;
    return action;
  }
  if (name == "check" && word.size() > name.size()) {
    if (!IsCheckName(value)) {
      throw UsageError("check=NAME takes a letter, then letters, digits, - and _: " +
                       runtime::Printable(word));
    }
    action.kind = Action::Kind::Check;
    action.name = value;
    return action;
  }
  action.kind = word == "check" ? Action::Kind::Check : Action::Kind::Reset;
  if (word == "check" || word == "reset") return action;
  throw UsageError("unknown action: " + runtime::Printable(word));
}
