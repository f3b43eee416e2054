// Feeds arbitrary bytes to the ensemble.json reader: whatever they are, it must give a record
// that the writer's text gives back, or a one-line reason; never end the process, throw, read
// out of bounds or leak.
#include "EnsembleRecord.h"
#include "OneLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const runtime::Read<EnsembleRecord> record = ReadEnsembleRecord(TextOf(data, size));
  TrapUnlessValueOrOneLine(record);
  if (!record) return 0;
  const runtime::Read<EnsembleRecord> again = ReadEnsembleRecord(EnsembleRecordText(*record));
  if (!again || *again != *record) __builtin_trap();
  return 0;
}
