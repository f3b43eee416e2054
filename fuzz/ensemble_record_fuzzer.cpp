// Feeds arbitrary bytes to the ensemble.json reader: whatever they are, it must give a command
// that the writer's record gives back, or a one-line reason; never end the process, throw, read
// out of bounds or leak.
#include "EnsembleRecord.h"
#include "OneLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const runtime::Read<std::vector<std::string>> command = ReadEnsembleCommand(TextOf(data, size));
  TrapUnlessValueOrOneLine(command);
  if (!command) return 0;
  const runtime::Read<std::vector<std::string>> again =
      ReadEnsembleCommand(EnsembleRecordText(*command));
  if (!again || *again != *command) __builtin_trap();
  return 0;
}
