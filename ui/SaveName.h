#pragma once

#include <string>
#include <string_view>

// The name a save dialog returned, with extension (".json") added when it has none: a state
// saved as "state1" would else be hidden by Open State's filter. A name with an extension of its
// own keeps it, as the user chose.
std::string WithDefaultExtension(const std::string& chosen, std::string_view extension);
