// Feeds arbitrary bytes to the checks.csv reader: whatever they are, it must give rows that make
// up exactly those bytes after the header, or a one-line reason; never end the process, throw,
// read out of bounds or leak.
#include "CheckTable.h"
#include "OneLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const runtime::Read<std::vector<std::string>> rows = ReadCheckRows(TextOf(data, size));
  TrapUnlessValueOrOneLine(rows);
  if (!rows) return 0;
  std::string table = CheckTableHeader();
  for (const std::string& row : *rows) table += row;
  if (table != TextOf(data, size)) __builtin_trap();
  return 0;
}
