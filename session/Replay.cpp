#include "Replay.h"

#include <functional>

#include "RegularFile.h"
#include "StateFile.h"

namespace {

std::optional<std::size_t> ContentsHash(const std::string& path) {
  std::string error;
  const std::optional<std::string> bytes =
      runtime::ReadRegularFile(path, kMaxStateBytes, "a state", error);
  if (!bytes) return std::nullopt;
  return std::hash<std::string>{}(*bytes);
}

}  // namespace

std::string ShellWord(const std::string& word) {
  const bool plain = !word.empty() && word.find_first_not_of(
                                          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                          "0123456789_-+=.,:/@%") == std::string::npos;
  if (plain) return word;
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

Replay::Replay(std::uint32_t seed, const Parameters& parameters, runtime::GeneratorKind generator)
    : start_("orvel-batch --seed " + std::to_string(seed)) {
  if (generator != runtime::GeneratorKind::kClassic) {
    start_ += " --generator " + std::string(runtime::GeneratorName(generator));
  }
  if (const std::string options = NonDefaultParameters(parameters); !options.empty()) {
    start_ += " " + options;
  }
}

void Replay::Add(std::string action) {
  actions_.push_back(std::move(action));
}

void Replay::AddRun(std::uint64_t steps) {
  if (steps == 0) Impossible("a run was stopped before its first step");
  actions_.push_back("run=" + std::to_string(steps));
}

void Replay::AddLoad(const std::string& path) {
  loaded_.push_back({path, ContentsHash(path)});
  actions_.push_back("load=" + path);
}

void Replay::Impossible(const std::string& why) {
  if (whyNot_.empty()) whyNot_ = why;
}

std::string Replay::WhyNot() const {
  if (!whyNot_.empty()) return whyNot_;
  if (actions_.empty()) return "nothing has happened in it yet";
  for (const Loaded& loaded : loaded_) {
    if (!loaded.contents || ContentsHash(loaded.path) != loaded.contents) {
      return "the state file " + loaded.path + " has changed since it was loaded";
    }
  }
  return "";
}

std::optional<std::string> Replay::Command(const std::string& folder) const {
  if (!WhyNot().empty()) return std::nullopt;
  std::string command = start_ + " --dir " + ShellWord(folder);
  if (logs_ != LogChoice::kAll) command += " --logs " + std::string(LogChoiceName(logs_));
  for (const std::string& action : actions_) command += " " + ShellWord(action);
  return command;
}
