#pragma once

#include <cstdint>
#include <string>

#include "Parameters.h"

// Help → About: the version, the seed, the parameters in use and where the logs go.
std::string AboutText(std::uint32_t seed, const Parameters& parameters,
                      const std::string& logFolder);

// Help → Keyboard Shortcuts.
std::string ShortcutsText();
