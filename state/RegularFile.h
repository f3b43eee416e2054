#pragma once

#include <cstddef>
#include <string>

// The bytes of the regular file at path, if it has at most most of them. Never waits: the file is
// opened without blocking and refused before a byte is read when it is a folder, a pipe, a
// device or too large. Throws StateError with the reason.
std::string ReadRegularFile(const std::string& path, std::size_t most);
