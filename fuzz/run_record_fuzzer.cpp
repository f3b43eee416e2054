// Feeds arbitrary bytes to the run.json reader: whatever they are, it must give events or a
// one-line reason; never end the process, throw, read out of bounds or leak.
#include "OneLine.h"
#include "RunRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TrapUnlessValueOrOneLine(ReadRunEvents(TextOf(data, size)));
  return 0;
}
