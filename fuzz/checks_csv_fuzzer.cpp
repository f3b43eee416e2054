// Feeds arbitrary bytes to the checks.csv reader: whatever they are, it must give rows that make
// up exactly those bytes after the header (of a table of this version), or a one-line reason;
// never end the process, throw, read out of bounds or leak.
#include "CheckTable.h"
#include "OneLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const runtime::Read<std::vector<CheckRow>> rows = ReadCheckRows(TextOf(data, size));
  TrapUnlessValueOrOneLine(rows);
  std::string table = CheckTableHeader();
  if (!rows || !TextOf(data, size).starts_with(table)) return 0;
  for (const CheckRow& row : *rows) table += row.text;
  if (table != TextOf(data, size)) __builtin_trap();
  return 0;
}
