#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The folder of a session started from the desktop, where no working directory means anything:
// $XDG_DATA_HOME/orvel/sessions/<UTC start time>-seed-<seed> (XDG_DATA_HOME defaulting to
// ~/.local/share). Named, not created.
std::string SessionFolder(std::uint32_t seed, std::time_t start);
