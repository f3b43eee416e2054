#pragma once

#include <array>

// The seven log files of a session, in the order they are created. Scripts read the names from
// here too (grep for the quoted names), so they stay in one place.
inline constexpr std::array<const char*, 7> kLogNames = {
    "log.txt",         "log-learn.txt",  "log-left.txt",    "log-right.txt",
    "log-learn-2.txt", "log-left-2.txt", "log-right-2.txt",
};
