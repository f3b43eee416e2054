#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace runtime {

// How much of a field from an untrusted file a message quotes.
inline constexpr std::size_t kQuotedField = 80;

// text fit for a one-line message: control characters, and every byte past ASCII unless the
// text is well-formed UTF-8, are shown as \xNN, so that quoting what a user typed or a file
// held never sends raw bytes to a terminal. Beyond `most` bytes it is cut at a character's
// start and marked with "...".
std::string Printable(std::string_view text, std::size_t most = std::string_view::npos);

// Whether text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

}  // namespace runtime
