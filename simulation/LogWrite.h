#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Writing whole lines so that a killed process leaves only whole lines. The system cuts a write
// short only where it crosses a page boundary of the file (a kill is checked between pages),
// so each write ends on the last line end before a boundary; a line that has to cross one
// carries the rest of the next page with it.
namespace log_write {

// How much of text, whole lines, to write at offset of its file.
std::size_t NextWrite(std::string_view text, std::uint64_t offset);

// Writes text, whole lines, to fd, whose file offset is offset; advances offset by what was
// written. Returns 0, or the error of the write that failed.
int WriteWholeLines(int fd, std::string_view text, std::uint64_t& offset);

}  // namespace log_write
