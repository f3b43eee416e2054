#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

// Writing whole lines so that a killed process leaves only whole lines. The system cuts a write
// short only where it crosses a page boundary of the file (a kill is checked between pages),
// so each write ends on the last line end before a boundary; a line that has to cross one
// carries the rest of the next page with it.
namespace log_write {

// How much of text, whole lines, to write at offset of its file.
std::size_t NextWrite(std::string_view text, std::uint64_t offset);

// The system's write, or a stand-in that fails as a full disk does.
using WriteCall = std::function<ssize_t(int fd, const void* bytes, std::size_t count)>;

// Writes text, whole lines, to fd, whose file offset is offset; advances offset by what was
// written. Returns 0, or the error of the write that failed: then a line the disk took only part
// of is cut off again, so that the file and offset end on its last whole line.
int WriteWholeLines(int fd, std::string_view text, std::uint64_t& offset,
                    const WriteCall& write = ::write);

}  // namespace log_write
