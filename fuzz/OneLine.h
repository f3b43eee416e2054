#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Read.h"

// The fuzzed bytes as the text a reader takes.
inline std::string_view TextOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A reader either gives a value or says in one line what is wrong; anything else is a fault.
template <class Value>
void TrapUnlessValueOrOneLine(const runtime::Read<Value>& read) {
  const std::string_view reason = read.Error();
  if (!read && (reason.empty() || reason.find('\n') != std::string_view::npos)) __builtin_trap();
  if (read && !reason.empty()) __builtin_trap();
}
