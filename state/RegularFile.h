#pragma once

#include <cstddef>
#include <string>

// The bytes of the regular file at path, if it has at most most of them. Never waits: the file is
// opened without blocking and refused before a byte is read when it is a folder, a pipe, a
// device or too large. Throws StateError with the reason; kind names what the file should hold
// ("a state"), for the reason a file is too large.
std::string ReadRegularFile(const std::string& path, std::size_t most, const std::string& kind);
