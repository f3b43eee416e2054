#pragma once

#include <stdexcept>
#include <string>

// The toolkit's exception: what escapes the program's start-up or event loop is shown to the user
// and the program ends normally.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};
