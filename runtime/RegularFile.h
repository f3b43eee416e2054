#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace runtime {

// The bytes of the regular file at path, if it has at most most of them. Never waits: the file is
// opened without blocking and refused before a byte is read when it is a folder, a pipe, a
// device or too large. Else nullopt, with a one-line reason in error that does not name the file
// (the caller does); kind names what the file should hold ("a state"), for one too large.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t most,
                                           const std::string& kind, std::string& error);

}  // namespace runtime
