#include "StateFile.h"

#include <stdexcept>

#include "RegularFile.h"
#include "StateJson.h"
#include "StrictJson.h"
#include "WholeFile.h"

namespace {
// The restore's own checks decide whether the fields agree (the history with its running sum,
// the weights with the parameters). A history still filling is summed afresh when restored, so
// its saved sum, peak and refresh phase must be exactly the ones that gives.
void CheckRestores(const Simulation::Saved& saved) {
  Simulation scratch(saved.generator, saved.parameters);
  try {
    scratch.Restore(saved);
  } catch (const std::invalid_argument& inconsistency) {
    throw StateError(inconsistency.what());
  }
  if (scratch.Save(saved.left, saved.right) != saved) {
    throw StateError("the running sum, peak or refresh phase disagrees with the history");
  }
}
}  // namespace

std::string StateText(const Simulation::Saved& saved) {
  return StateJson(saved).dump(2) + "\n";
}

bool SaveState(const std::string& path, const Simulation::Saved& saved, std::string& error) {
  const std::string text = StateText(saved);
  try {
    ParseState(text);
  } catch (const StateError& problem) {
    error = std::string("the state would not read back: ") + problem.what();
    return false;
  }
  return runtime::WriteWholeFile(path, text, error);
}

Simulation::Saved ParseState(std::string_view text) {
  if (text.size() > kMaxStateBytes) {
    throw StateError("larger than " + std::to_string(kMaxStateBytes) +
                     " bytes: too large for a state");
  }
  if (text.empty()) throw StateError("empty: no state in it");
  Simulation::Saved saved = SavedFromJson(ParseStrictJson(text));
  CheckRestores(saved);
  return saved;
}

Simulation::Saved LoadState(const std::string& path) {
  std::string error;
  const std::optional<std::string> text =
      runtime::ReadRegularFile(path, kMaxStateBytes, "a state", error);
  if (!text) throw StateError(error);
  return ParseState(*text);
}
