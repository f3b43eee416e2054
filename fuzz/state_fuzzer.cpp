// Feeds arbitrary bytes to the state reader: whatever they are, it must either refuse them with a
// one-line reason or return a state that writes back to text reading as the same state; never
// end the process, throw, read out of bounds or leak.
#include "OneLine.h"
#include "StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const runtime::Read<Simulation::Saved> state = ReadState(TextOf(data, size));
  TrapUnlessValueOrOneLine(state);
  if (!state) return 0;
  const runtime::Read<Simulation::Saved> again = ReadState(StateText(*state));
  if (!again || *again != *state) __builtin_trap();
  return 0;
}
