#include "HelpTexts.h"

#include "Version.h"

std::string AboutText(std::uint32_t seed, const Parameters& parameters,
                      const std::string& logFolder, const std::string& logs) {
  std::string text = std::string("BCM Orvel ") + runtime::kVersion +
                     "\nOne model neuron learning by the BCM rule from two eyes.\n\nSeed: " +
                     std::to_string(seed) + " (orvel-batch --seed " + std::to_string(seed) +
                     " replays the session)\n\nParameters in use:\n";
  for (const ParameterOption& option : ParameterOptions()) {
    text += "  " + std::string(option.name) + " = " + option.get(parameters) + "\n";
  }
  return text + "\nLog folder: " + logFolder + "\nLogs: " + logs;
}

std::string ShortcutsText() {
  return "Tab, Shift+Tab\tmove between the controls\n"
         "Space, Return\tpress the focused button or tick the focused box\n"
         "F5\tStart\n"
         "Esc\tStop\n"
         "F6\tPause or go on\n"
         "Ctrl+S\tSave State…\n"
         "Ctrl+O\tOpen State…\n"
         "Ctrl+Shift+S\tSave Picture…\n"
         "Ctrl+Q\tQuit\n"
         "Alt+letter\topen the menu whose underlined letter it is";
}
