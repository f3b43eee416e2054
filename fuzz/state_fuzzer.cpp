// Feeds arbitrary bytes to the state reader: whatever they are, it must either refuse them with a
// one-line reason or return a state that writes back to text reading as the same state; never
// end the process, throw anything else, read out of bounds or leak.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const Simulation::Saved saved = ParseState(text);
    if (ParseState(StateText(saved)) != saved) __builtin_trap();
  } catch (const StateError& error) {
    const std::string_view reason = error.what();
    if (reason.empty() || reason.find('\n') != std::string_view::npos) __builtin_trap();
  }
  return 0;
}
