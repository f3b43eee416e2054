#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Read.h"

namespace runtime {

// The bytes of the regular file at path, if it has at most most of them. Never waits: the file is
// opened without blocking and refused before a byte is read when it is a folder, a pipe, a
// device or too large. Else nullopt, with a one-line reason in error that does not name the file
// (the caller does); kind names what the file should hold ("a state"), for one too large.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t most,
                                           const std::string& kind, std::string& error);

// read applied to the regular file at path, or why the file could not be read (as above).
template <class Value>
Read<Value> ReadFileWith(Read<Value> (*read)(std::string_view), const std::string& path,
                         std::size_t most, const std::string& kind) {
  std::string error;
  const std::optional<std::string> text = ReadRegularFile(path, most, kind, error);
  if (!text) return Unreadable{error};
  return read(*text);
}

}  // namespace runtime
