#include "NumberText.h"

#include <charconv>
#include <system_error>

namespace runtime {
namespace {

void AppendAligned(std::string& text, int width, const char* first, const char* last) {
  const auto length = static_cast<std::size_t>(last - first);
  if (width > 0 && length < static_cast<std::size_t>(width)) {
    text.append(static_cast<std::size_t>(width) - length, ' ');
  }
  text.append(first, length);
}

// Runs convert(first, last) on the stack when the text is short, as nearly all are, and otherwise
// in a heap area that doubles until the text fits; then appends it right-aligned in width.
template <class Convert>
void AppendConverted(std::string& text, int width, Convert convert) {
  char small[64];
  std::to_chars_result result = convert(small, small + sizeof small);
  if (result.ec == std::errc()) return AppendAligned(text, width, small, result.ptr);
  std::string large(2 * sizeof small, '\0');
  while ((result = convert(large.data(), large.data() + large.size())).ec != std::errc()) {
    large.resize(large.size() * 2);
  }
  AppendAligned(text, width, large.data(), result.ptr);
}

}  // namespace

void AppendFixed(std::string& text, double value, int width, int precision) {
  AppendConverted(text, width, [value, precision](char* first, char* last) {
    return std::to_chars(first, last, value, std::chars_format::fixed, precision);
  });
}

void AppendInteger(std::string& text, std::int64_t value, int width) {
  AppendConverted(text, width,
                  [value](char* first, char* last) { return std::to_chars(first, last, value); });
}

}  // namespace runtime
