#include "StateFile.h"

#include <stdexcept>

#include "FormatError.h"
#include "RegularFile.h"
#include "StateJson.h"
#include "StrictJson.h"
#include "WholeFile.h"

namespace {
// The restore's own checks decide whether the fields agree (the history with its running sum,
// the weights with the parameters). A history still filling is summed afresh when restored, so
// its saved sum, peak and refresh phase must be exactly the ones that gives.
void CheckRestores(const Simulation::Saved& saved) {
  Simulation scratch(1, saved.parameters);
  try {
    scratch.Restore(saved);
  } catch (const std::invalid_argument& inconsistency) {
    throw runtime::FormatError(inconsistency.what());
  }
  if (scratch.Save(saved.left, saved.right) != saved) {
    throw runtime::FormatError("the running sum, peak or refresh phase disagrees with the history");
  }
}
}  // namespace

std::string StateText(const Simulation::Saved& saved) {
  return StateJson(saved).dump(2) + "\n";
}

bool SaveState(const std::string& path, const Simulation::Saved& saved, std::string& error) {
  const std::string text = StateText(saved);
  if (const auto readBack = ReadState(text); !readBack) {
    error = "the state would not read back: " + readBack.Error();
    return false;
  }
  return runtime::WriteWholeFile(path, text, error);
}

runtime::Read<Simulation::Saved> ReadState(std::string_view text) {
  if (text.size() > kMaxStateBytes) {
    return runtime::Unreadable{"larger than " + std::to_string(kMaxStateBytes) +
                               " bytes: too large for a state"};
  }
  if (text.empty()) return runtime::Unreadable{"empty: no state in it"};
  return runtime::Parsed([&] {
    Simulation::Saved saved = SavedFromJson(runtime::ParseStrictJson(text, kStateJson));
    CheckRestores(saved);
    return saved;
  });
}

runtime::Read<Simulation::Saved> ReadStateFile(const std::string& path) {
  return runtime::ReadFileWith(ReadState, path, kMaxStateBytes, "a state");
}
