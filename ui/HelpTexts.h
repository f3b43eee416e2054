#pragma once

#include <cstdint>
#include <string>

#include "Parameters.h"
#include "Random.h"
#include "Replay.h"

// The folder the About box's replay command writes to.
inline constexpr const char* kReplayFolder = "replay";

// Help → About: the version, the seed and generator, the command that replays the session or why
// none does, the parameters in use, where the logs go, and which they are with what they have
// written (logs).
std::string AboutText(std::uint32_t seed, runtime::GeneratorKind generator,
                      const Parameters& parameters, const Replay& replay,
                      const std::string& logFolder, const std::string& logs);

// Help → Keyboard Shortcuts: a table of the keys and what they do, in rich text, each key in a
// cell of its own ("<td><b>F5</b></td>").
std::string ShortcutsTable();
