#pragma once

#include <stdexcept>

namespace runtime {

// Why a text is not the format its reader expects: one line, without the file's name, which the
// caller knows. Thrown only inside a reader, which turns it into an Unreadable at its interface.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace runtime
