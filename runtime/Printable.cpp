#include "Printable.h"

#include <cstdio>

namespace runtime {

namespace {

std::string_view CutAtCharacter(std::string_view text, std::size_t most) {
  // A character is at most four bytes; text that is not UTF-8 is cut where it is.
  std::size_t end = most;
  while (end > 0 && most - end < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

std::string Printable(std::string_view text, std::size_t most) {
  const bool cut = text.size() > most;
  const std::string_view kept = cut ? CutAtCharacter(text, most) : text;
  const bool utf8 = IsUtf8(kept);
  std::string shown;
  for (const char c : kept) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8)) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  if (cut) shown += "...";
  return shown;
}

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80         ? 1
                               : lead >> 5 == 0x6  ? 2
                               : lead >> 4 == 0xE  ? 3
                               : lead >> 3 == 0x1E ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size() || (length == 2 && lead < 0xC2) ||
        (length == 4 && lead > 0xF4)) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    const auto second = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace runtime
