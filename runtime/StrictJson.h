#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace runtime {

// One of the program's JSON files, as its reader's messages name it, and how deep its values
// nest at most.
struct JsonFormat {
  const char* whole;  // "the state"
  const char* kind;   // "a state"
  int maxDepth;       // arrays and objects within each other, the outermost included
};

// The JSON value that text holds, parsed strictly: nothing but whitespace after it, no comments,
// no key twice in one object (the library alone would silently keep the last), and nothing
// nested deeper than the format's values are, so that a file of brackets cannot make a huge
// tree. Throws FormatError naming the first fault.
nlohmann::json ParseStrictJson(std::string_view text, const JsonFormat& format);

}  // namespace runtime
