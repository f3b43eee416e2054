#include "HelpTexts.h"

#include "Version.h"

namespace {

std::string ReplayText(const Replay& replay) {
  if (const auto command = replay.Command(kReplayFolder)) {
    return "Replayed log for log by:\n" + *command + "\n";
  }
  return "No orvel-batch command replays this session: " + replay.WhyNot() + ".\n";
}

}  // namespace

std::string AboutText(std::uint32_t seed, runtime::GeneratorKind generator,
                      const Parameters& parameters, const Replay& replay,
                      const std::string& logFolder, const std::string& logs) {
  std::string text = std::string("BCM Orvel ") + runtime::kVersion +
                     "\nOne model neuron learning by the BCM rule from two eyes.\n\nSeed: " +
                     std::to_string(seed) + ", generator " +
                     std::string(runtime::GeneratorName(generator)) + "\n" + ReplayText(replay) +
                     "\nParameters in use:\n";
  for (const ParameterOption& option : ParameterOptions()) {
    text += "  " + std::string(option.name) + " = " + option.get(parameters) + "\n";
  }
  return text + "\nLog folder: " + logFolder + "\nLogs: " + logs;
}

namespace {
struct Shortcut {
  const char* keys;
  const char* does;
};

const Shortcut kShortcuts[] = {
    {"Tab, Shift+Tab", "move between the controls"},
    {"Space, Return", "press the focused button or tick the focused box"},
    {"F5", "Start"},
    {"Esc", "Stop"},
    {"F6", "Pause or go on"},
    {"Ctrl+S", "Save State…"},
    {"Ctrl+O", "Open State…"},
    {"Ctrl+Shift+S", "Save Picture…"},
    {"Ctrl+Q", "Quit"},
    {"F1", "the Guide"},
    {"Alt+letter", "open the menu whose underlined letter it is"},
};
}  // namespace

std::string ShortcutsTable() {
  std::string table = "<table cellspacing=\"0\" cellpadding=\"4\">";
  for (const Shortcut& shortcut : kShortcuts) {
    table +=
        std::string("<tr><td><b>") + shortcut.keys + "</b></td><td>" + shortcut.does + "</td></tr>";
  }
  return table + "</table>";
}
