#include "Printable.h"

namespace runtime {

std::string Printable(std::string_view text, std::size_t most) {
  const bool cut = text.size() > most;
  std::string printable(cut ? text.substr(0, most) : text);
  for (char& c : printable) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  if (cut) printable += "...";
  return printable;
}

}  // namespace runtime
