#pragma once

#include <cstdint>
#include <string>

// printf's "%W.Pf" and "%Wd", always in the "C" locale whatever the process's locale is, and
// growing to any length: a double's fixed form can run to hundreds of digits.
namespace runtime {

// Appends value as "%width.precision f" would print it in the "C" locale.
void AppendFixed(std::string& text, double value, int width, int precision);

// Appends the shortest text that reads back as exactly value, with a full stop in any locale.
void AppendShortest(std::string& text, double value);
std::string ShortestText(double value);

// Appends value as "%width d" would print it, for every 64-bit value.
void AppendInteger(std::string& text, std::int64_t value, int width);

// value with its digits in groups of three, as in "-1,000,000": for text that is read, not parsed.
std::string GroupedDigits(std::int64_t value);

}  // namespace runtime
