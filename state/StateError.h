#pragma once

#include <stdexcept>

// Why a text or a file is not a state this program can continue: one line, without the file's
// name, which the caller knows and prefixes.
class StateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
