#pragma once

#include <optional>
#include <string>
#include <utility>

#include "FormatError.h"

namespace runtime {

// Why a file or a text is not what its reader expects: one line, for the caller to report.
struct Unreadable {
  std::string reason;
};

// What a reader of the program's own files gives back: the value it read, or why there is
// none. Readers return it instead of throwing, so that no damaged file can end the program and
// each caller decides what the damage costs.
template <class Value>
class Read {
 public:
  Read(Value value) : value_(std::move(value)) {}
  // By value: the reason is moved out of it, as readers return a fresh one.
  // cppcheck-suppress passedByValue
  Read(Unreadable unreadable) : error_(std::move(unreadable.reason)) {}

  explicit operator bool() const { return value_.has_value(); }
  const Value& operator*() const& { return *value_; }
  Value&& operator*() && { return std::move(*value_); }
  const Value* operator->() const { return &*value_; }
  // "" when there is a value.
  const std::string& Error() const { return error_; }

 private:
  std::optional<Value> value_;
  std::string error_;
};

// parse's value, or the FormatError it threw as the reason, so that a reader's parsing code may
// throw wherever it finds damage and still never throw past the reader.
template <class Parse>
auto Parsed(Parse&& parse) -> Read<decltype(parse())> {
  try {
    return parse();
  } catch (const FormatError& error) {
    return Unreadable{error.what()};
  }
}

}  // namespace runtime
