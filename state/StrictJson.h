#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

// The JSON value that text holds, parsed strictly: nothing but whitespace after it, no comments,
// no key twice in one object (the library alone would silently keep the last), and no nesting
// deeper than a state's, so that a file of brackets cannot make a huge tree. Throws StateError
// naming the first fault.
nlohmann::json ParseStrictJson(std::string_view text);
