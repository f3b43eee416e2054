#include "Action.h"

#include <algorithm>

#include "CommandLine.h"
#include "Lesson.h"
#include "Printable.h"

namespace {
bool ParseSwitch(const std::string& text, bool& on) {
  if (text != "on" && text != "off") return false;
  on = text == "on";
  return true;
}
}  // namespace

bool IsCheckName(std::string_view text) {
  const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  const auto inName = [&](char c) {
    return letter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_';
  };
  return !text.empty() && letter(text.front()) && std::all_of(text.begin(), text.end(), inName);
}

void ReadActionFile(const std::string& path, std::vector<Action>& actions) {
  for (Action& action : ReadLessonFile(path, LessonUse::kActionFile).Actions()) {
    actions.push_back(std::move(action));
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
  if (const ParameterOption* option = FindParameterOption(name);
      option != nullptr && word.size() > name.size()) {
    try {
      Parameters checked;
      SetParameter(checked, *option, value);
    } catch (const UsageError& fault) {
      throw UsageError(runtime::Printable(word) + ": " + fault.what());
    }
    action.kind = Action::Kind::Set;
    action.name = name;
    action.value = value;
    return action;
  }
  action.kind = word == "check" ? Action::Kind::Check : Action::Kind::Reset;
  if (word == "check" || word == "reset") return action;
  throw UsageError("unknown action: " + runtime::Printable(word));
}
